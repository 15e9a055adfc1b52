// SPDX-License-Identifier: GPL-3.0-or-later
#include "ViewerTestSupport.h"
#include "journals/JournalData.h"
#include "journals/OscData.h"
#include "viewers/TMK_ViewJournalsDlg.h"
#include "viewers/TMK_ViewOscDlg.h"
#include "viewers/ViewerTransactions.h"
#include "widgets/StringGrid.h"

#include <QPushButton>
#include <QRadioButton>

using namespace mk;
using namespace mk::test;

class ViewerTransactionsTest : public QObject
{
    Q_OBJECT

private:
    static QByteArray sectionBytes(const TMK &tmk, int k)
    {
        const SectionEntry e = tmk.header().sections[size_t(k)];
        return tmk.image().mid(e.contentPos(), e.contentLength());
    }
    static void setStoredProtocol(TMK &tmk, quint16 index)
    {
        tmk.record(10).setU16(4, index);
        tmk.encodeSection(10);
    }
    static QString firstErrorCodeShown(TMK &tmk)
    {
        DialogAnswers answers;
        QString code;
        answers.onDialog = [&](QDialog &d) {
            code = find<StringGrid>(&d, "sgErrors")->cellText(2, 1);
            return int(QDialog::Rejected);
        };
        runJournalTransaction(nullptr, tmk);
        return code;
    }

private slots:
    // A file cut short after a full one: its missing journals show empty, not the earlier file's.
    void journalsOfAbsentSectionsAreEmpty()
    {
        TMK tmk;
        loadFactory(tmk);
        const QByteArray full = tmk.image();
        tmk.replaceImage(tmk.modelCode(), full.left(1500)); // sections 6 and 12 are cut off
        DialogAnswers answers;
        QStringList trip, errors;
        answers.onDialog = [&](QDialog &d) {
            for (int r = 1; r <= 3; ++r) {
                trip << find<StringGrid>(&d, "sgTrip")->cellText(1, r);
                errors << find<StringGrid>(&d, "sgErrors")->cellText(2, r);
            }
            return int(QDialog::Rejected);
        };
        runJournalTransaction(nullptr, tmk);
        QCOMPARE(trip, QStringList(3, QStringLiteral("Пусто")));
        QCOMPARE(errors, QStringList(3, QString()));
    }

    void journalOkWithoutChangesKeepsTheImage()
    {
        TMK tmk;
        loadFactory(tmk);
        // Records hold something else than the image: the transaction starts from the image.
        tmk.record(6).setU8(16 + 2, 0);
        const QByteArray image = tmk.image();
        DialogAnswers answers;
        bool opened = false;
        answers.onDialog = [&](QDialog &d) {
            opened = qobject_cast<TMK_ViewJournalsDlg *>(&d) != nullptr;
            return int(QDialog::Accepted);
        };
        QVERIFY(runJournalTransaction(nullptr, tmk));
        QVERIFY(opened);
        QCOMPARE(tmk.image(), image);
        QCOMPARE(journalEntry(tmk.record(6), JournalKind::Trip, 0).day, quint8(6));
    }

    void journalClearingReachesTheImageOnlyThroughOk()
    {
        TMK tmk;
        loadFactory(tmk);
        const QByteArray image = tmk.image();
        const Record s0 = tmk.record(0), s6 = tmk.record(6), s12 = tmk.record(12);
        DialogAnswers answers;
        int result = QDialog::Rejected;
        answers.onDialog = [&](QDialog &d) {
            QTest::mouseClick(find<QPushButton>(&d, "bTripReset"), Qt::LeftButton);
            QTest::mouseClick(find<QPushButton>(&d, "bErrrJReset"), Qt::LeftButton);
            QTest::mouseDClick(find<StringGrid>(&d, "sgAllSum")->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
            return result;
        };

        QVERIFY(!runJournalTransaction(nullptr, tmk));
        QCOMPARE(tmk.image(), image);
        QVERIFY(tmk.record(0) == s0);
        QVERIFY(tmk.record(6) == s6);
        QVERIFY(tmk.record(12) == s12);

        result = QDialog::Accepted;
        QVERIFY(runJournalTransaction(nullptr, tmk));
        QVERIFY(tmk.image() != image);
        TMK reread;
        reread.replaceImage(tmk.modelCode(), tmk.image());
        for (int k = 0; k < kJournalEntryCount; ++k) {
            QVERIFY(journalEntry(reread.record(6), JournalKind::Trip, k).empty());
            QCOMPARE(journalEntry(reread.record(6), JournalKind::Tank, k).day,
                     journalEntry(s6, JournalKind::Tank, k).day);
        }
        QCOMPARE(errorEntry(reread.record(12), 0).code, 0u);
        QCOMPARE(accumulators(reread.record(0), AccumulatorSet::Overall).metres, 0u);
        QCOMPARE(accumulators(reread.record(0), AccumulatorSet::Trip).metres, 41300u);
        // Only sections 0, 6 and 12 changed.
        for (int k : {1, 2, 3, 4, 5, 7, 8, 9, 10, 11}) {
            TMK original;
            original.replaceImage(1, image);
            QCOMPARE(sectionBytes(tmk, k), sectionBytes(original, k));
        }
    }

    void errorCodesFollowTheImagesProtocol()
    {
        TMK tmk;
        loadFactory(tmk, 1, 1);                                     // "QZ-11_R": list 11, 16, 13, 1, ...
        QCOMPARE(firstErrorCodeShown(tmk), QStringLiteral("0133")); // "M74CAN", format 1
        setStoredProtocol(tmk, 3);                                  // "CAN", format 0
        QCOMPARE(firstErrorCodeShown(tmk), QStringLiteral("P0133"));
        setStoredProtocol(tmk, 200); // past the list: no protocol
        QCOMPARE(firstErrorCodeShown(tmk), QString());
        setStoredProtocol(tmk, 300); // out of range: still opens
        QCOMPARE(firstErrorCodeShown(tmk), QString());
    }

    void oscRefusedWithoutTheFeature()
    {
        TMK tmk;
        loadFactory(tmk, 1281, 0); // "QZ-41B" records no oscilloscope data
        DialogAnswers answers;
        bool opened = false;
        answers.onDialog = [&](QDialog &) {
            opened = true;
            return int(QDialog::Rejected);
        };
        runOscTransaction(nullptr, tmk);
        QVERIFY(!opened);
        QCOMPARE(answers.messages, QStringList({"В данной версии МК оцилллограф не поддерживается."}));

        TMK wide;
        loadFactory(wide, 1, 1);
        setStoredProtocol(wide, 256);
        answers.messages.clear();
        runOscTransaction(nullptr, wide);
        QVERIFY(!opened);
        QCOMPARE(answers.messages,
                 QStringList({"Ошибка проверки диапазона: номер протокола 256, допустимо от 0 до 255"}));
    }

    void oscChoicesReachSectionTenOfTheImage()
    {
        TMK tmk;
        loadFactory(tmk, 1, 1);
        const QByteArray image = tmk.image();
        DialogAnswers answers;
        QByteArray samplesShown;
        bool click = false;
        answers.onDialog = [&](QDialog &d) {
            auto *osc = qobject_cast<TMK_ViewOscDlg *>(&d);
            if (!osc)
                return int(QDialog::Rejected);
            samplesShown = oscSamples(tmk);
            if (click)
                find<QRadioButton>(&d, "rgOscTimeDiv_7")->click();
            return int(QDialog::Rejected);
        };

        runOscTransaction(nullptr, tmk);
        QVERIFY(answers.messages.isEmpty());
        QCOMPARE(samplesShown.size(), 1024);
        QCOMPARE(samplesShown.left(512), image.mid(kOscBlockPos[0] + 8, 512));
        QCOMPARE(samplesShown.mid(512), image.mid(kOscBlockPos[1] + 8, 512));
        QCOMPARE(tmk.image(), image); // looking changes nothing

        click = true;
        runOscTransaction(nullptr, tmk);
        const int pos = tmk.header().sections[10].contentPos() + kOscTimeDivOffset;
        QCOMPARE(quint8(tmk.image()[pos]), quint8(7));
        QByteArray expected = image;
        expected[pos] = char(7);
        QCOMPARE(tmk.image(), expected);
    }
};

QTEST_MAIN(ViewerTransactionsTest)
#include "viewer_transactions_test.moc"
