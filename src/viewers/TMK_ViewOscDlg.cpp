// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewers/TMK_ViewOscDlg.h"
#include "widgets/FittingScrollArea.h"

#include "base/DecimalText.h"
#include "base/Error.h"
#include "base/FileIo.h"
#include "image/SuggestedName.h"
#include "image/TMK.h"
#include "journals/JournalCsv.h"
#include "journals/OscExport.h"
#include "render/PngFile.h"
#include "widgets/IniFile.h"
#include "widgets/MessageBoxes.h"
#include "widgets/RadioGroup.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <cmath>
#include <functional>

namespace mk {

namespace {

// Shows the dialog's picture; painting never recomputes the trace. The mouse zooms (wheel),
// pans (drag) and reads the point under it.
class PaintBox : public QWidget
{
public:
    std::function<void(int steps, double x)> onWheel;
    std::function<void(double dx, bool start)> onDrag;
    std::function<void(QPoint at, bool inside)> onHover;

    PaintBox(const QImage &picture, QWidget *parent) : QWidget(parent), m_picture(picture)
    {
        setObjectName(QStringLiteral("PB"));
        setFixedSize(kOscPictureWidth, kOscPictureHeight);
        setMouseTracking(true);
        setCursor(Qt::CrossCursor);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.drawImage(0, 0, m_picture);
    }
    void wheelEvent(QWheelEvent *e) override
    {
        m_wheel += e->angleDelta().y();
        const int steps = m_wheel / 120;
        m_wheel -= steps * 120;
        if (steps != 0) {
            onWheel(steps, e->position().x());
            onHover(e->position().toPoint(), true); // the point under the mouse moved
        }
        e->accept();
    }
    void mousePressEvent(QMouseEvent *e) override
    {
        if (e->button() == Qt::LeftButton) {
            m_dragX = e->position().x();
            onDrag(0, true);
        }
    }
    void mouseMoveEvent(QMouseEvent *e) override
    {
        if (e->buttons() & Qt::LeftButton)
            onDrag(e->position().x() - m_dragX, false);
        onHover(e->position().toPoint(), true);
    }
    void leaveEvent(QEvent *) override { onHover({}, false); }

private:
    const QImage &m_picture;
    int m_wheel = 0;
    double m_dragX = 0;
};

} // namespace

TMK_ViewOscDlg::TMK_ViewOscDlg(TMK &model, QWidget *parent)
    : QDialog(parent),
      m_model(model),
      m_picture(kOscPictureWidth, kOscPictureHeight, QImage::Format_RGB32),
      m_saveFolder(defaultFileFolder())
{
    setObjectName(QStringLiteral("TMK_ViewOscDlg"));
    setWindowTitle(QStringLiteral("Просмотр данных осциллографа"));

    m_drawing.settings = oscSettings(m_model.record(kVehicleSection), m_model.osc(0).header);
    m_recordSettings = m_drawing.settings;
    m_drawing.samples = oscSamples(m_model);
    m_drawing.showScale = 1.0 / oscTimeDivisor(m_drawing.settings.timeDiv);
    m_drawing.offset = 0;

    auto *paintBox = new PaintBox(m_picture, this);
    m_paintBox = paintBox;
    m_scroll = new QScrollBar(Qt::Horizontal, this);
    m_scroll->setObjectName(QStringLiteral("sbSclollOffset"));
    m_scroll->setRange(kOscOffsetMin, kOscOffsetMax);
    m_scroll->setValue(0);
    m_scroll->setPageStep(32);

    m_voltDiv = new RadioGroup(QStringLiteral("rgOscVoltDiv"), QStringLiteral("Вольт/деление"),
                               oscVoltDivLabels(m_drawing.settings.dividerRange), 3, this);
    m_timeDiv =
        new RadioGroup(QStringLiteral("rgOscTimeDiv"), QStringLiteral("мс/деление"), oscTimeDivLabels(), 10, this);
    m_inDivider = new RadioGroup(QStringLiteral("rgOscInDivider"), QStringLiteral("Входной делитель"),
                                 oscDividerLabels(), 3, this);
    m_voltDiv->setItemIndex(m_drawing.settings.voltDiv);
    m_timeDiv->setItemIndex(m_drawing.settings.timeDiv);
    m_inDivider->setItemIndex(m_drawing.settings.inDivider);

    m_cursor = new QLabel(this);
    m_cursor->setObjectName(QStringLiteral("lOscCursor"));
    m_cursor->setMinimumWidth(
        m_cursor->fontMetrics().horizontalAdvance(QStringLiteral("t = -00000.000 мс   U = -000.00 В")));
    auto *savePicture = new QPushButton(QStringLiteral("Сохранить &картинку…"), this);
    savePicture->setObjectName(QStringLiteral("bOscSavePicture"));
    auto *saveData = new QPushButton(QStringLiteral("Сохранить &данные…"), this);
    saveData->setObjectName(QStringLiteral("bOscSaveData"));
    // Enter opens no save dialog: only a click or the Alt shortcut does.
    savePicture->setAutoDefault(false);
    saveData->setAutoDefault(false);

    connect(m_voltDiv, &RadioGroup::itemClicked, this, &TMK_ViewOscDlg::voltDivClick);
    connect(m_timeDiv, &RadioGroup::itemClicked, this, &TMK_ViewOscDlg::timeDivClick);
    connect(m_inDivider, &RadioGroup::itemClicked, this, &TMK_ViewOscDlg::inDividerClick);
    connect(m_scroll, &QScrollBar::valueChanged, this, [this](int position) {
        m_drawing.offset = position;
        redraw();
    });
    connect(savePicture, &QPushButton::clicked, this, [this] {
        const QString path = askSavePath({QStringLiteral("Изображение PNG (*.png)")}, QStringLiteral("png"));
        if (!path.isEmpty())
            this->savePicture(path);
    });
    connect(saveData, &QPushButton::clicked, this, [this] {
        const CsvDialectName &excelRu = csvDialectName(CsvDialect::ExcelRu);
        QString filter;
        const QString path =
            askSavePath({csvDialectName(CsvDialect::Plain).caption, excelRu.caption}, QStringLiteral("csv"), &filter);
        if (!path.isEmpty())
            this->saveData(path, filter == excelRu.caption ? CsvDialect::ExcelRu : CsvDialect::Plain);
    });
    paintBox->onWheel = [this](int steps, double x) { wheelAt(steps, x); };
    paintBox->onDrag = [this, dragStart = 0](double dx, bool start) mutable {
        if (start) {
            dragStart = m_drawing.offset;
            return;
        }
        setOffset(dragStart - int(std::lround(dx / oscGeometry(m_drawing).horizontalFactor())));
    };
    paintBox->onHover = [this](QPoint at, bool inside) { m_cursor->setText(inside ? cursorText(at) : QString()); };

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *groups = new QHBoxLayout;
    groups->addWidget(m_voltDiv);
    groups->addWidget(m_timeDiv, 1);
    groups->addWidget(m_inDivider);
    auto *tools = new QHBoxLayout;
    tools->addWidget(m_cursor, 1);
    tools->addWidget(savePicture);
    tools->addWidget(saveData);
    // The picture keeps its size; on a smaller screen it scrolls with its controls, and the
    // window grows no larger than all of it.
    auto *body = new QWidget;
    auto *bodyLayout = new QVBoxLayout(body);
    bodyLayout->setContentsMargins(0, 0, 0, 0);
    bodyLayout->addWidget(m_paintBox);
    bodyLayout->addWidget(m_scroll);
    bodyLayout->addLayout(groups);
    bodyLayout->addLayout(tools);
    bodyLayout->setSizeConstraint(QLayout::SetFixedSize);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new FittingScrollArea(body, QStringLiteral("saOsc"), this));
    layout->addWidget(buttons);
    // Opened at its whole size (Qt would open it at two thirds of the screen), then fitted.
    resize(sizeHint());
    setMaximumSize(sizeHint());

    redraw();
}

void TMK_ViewOscDlg::voltDivClick()
{
    const int index = m_voltDiv->itemIndex();
    if (index < 0)
        return;
    storeOscVoltDiv(m_model.record(kVehicleSection), index);
    m_drawing.settings.voltDiv = index;
    m_changed = true;
    redraw();
}

void TMK_ViewOscDlg::timeDivClick()
{
    const int index = m_timeDiv->itemIndex();
    if (index < 0)
        return;
    storeOscTimeDiv(m_model.record(kVehicleSection), index);
    m_drawing.settings.timeDiv = index;
    m_changed = true;
    redraw();
}

// The divider choice is stored for the device's next capture; the volt/div labels keep naming
// the range the record was taken with, so only the volt/div handling runs besides.
void TMK_ViewOscDlg::inDividerClick()
{
    const int index = m_inDivider->itemIndex();
    if (index < 0)
        return;
    storeOscInDivider(m_model.record(kVehicleSection), index);
    m_drawing.settings.inDivider = index;
    m_changed = true;
    voltDivClick();
}

void TMK_ViewOscDlg::setTimeDivAt(int index, double anchorX)
{
    index = qBound(0, index, kOscTimeDivCount - 1);
    if (index == m_drawing.settings.timeDiv)
        return;
    const double anchored = oscGeometry(m_drawing).sampleAtX(anchorX);
    // As a click on the group: the choice is stored for the device's next capture.
    m_timeDiv->setItemIndex(index);
    storeOscTimeDiv(m_model.record(kVehicleSection), index);
    m_drawing.settings.timeDiv = index;
    m_changed = true;
    const double h = oscGeometry(m_drawing).horizontalFactor();
    // Offsets stay whole samples, within the scroll bar's range.
    const int offset = qBound(kOscOffsetMin, int(std::lround(anchored - 32 - (anchorX - 64) / h)), kOscOffsetMax);
    setOffset(offset);
    redraw();
}

// Away from the user (positive steps) zooms in: a shorter time per division.
void TMK_ViewOscDlg::wheelAt(int steps, double x) { setTimeDivAt(m_drawing.settings.timeDiv - steps, x); }

void TMK_ViewOscDlg::setOffset(int offset)
{
    m_scroll->setValue(qBound(kOscOffsetMin, offset, kOscOffsetMax)); // redraws when it moves
}

QString TMK_ViewOscDlg::cursorText(const QPoint &at) const
{
    if (at.y() < 0 || at.y() > kOscTraceHeight || at.x() < 0 || at.x() >= kOscPictureWidth)
        return {};
    const OscGeometry g = oscGeometry(m_drawing);
    return QStringLiteral("t = %1 мс   U = %2 В")
        .arg(decimalText(g.timeAtX(at.x()), 3), decimalText(g.voltsAtY(at.y()), 2));
}

QString TMK_ViewOscDlg::askSavePath(const QStringList &filters, const QString &suffix, QString *chosenFilter)
{
    QFileDialog dialog(this);
    dialog.setObjectName(QStringLiteral("saveOscDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDirectory(m_saveFolder);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(suffix);
    dialog.selectFile(suggestedFileName(m_model, suffix, QStringLiteral("осциллограф")));
    if (execDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QString path = dialog.selectedFiles().constFirst();
    m_saveFolder = QFileInfo(path).absolutePath();
    if (chosenFilter)
        *chosenFilter = dialog.selectedNameFilter();
    return path;
}

bool TMK_ViewOscDlg::savePicture(const QString &path)
{
    try {
        savePngFile(path, m_picture);
        return true;
    } catch (const Error &e) {
        showError(this, e.text());
        return false;
    }
}

bool TMK_ViewOscDlg::saveData(const QString &path, CsvDialect dialect)
{
    try {
        writeFileAtomically(path, csvText(oscCsvRows(m_recordSettings, m_drawing.samples), dialect));
        return true;
    } catch (const Error &e) {
        showError(this, e.text());
        return false;
    }
}

void TMK_ViewOscDlg::redraw()
{
    drawOscPicture(m_picture, m_drawing);
    m_paintBox->update();
}

} // namespace mk
