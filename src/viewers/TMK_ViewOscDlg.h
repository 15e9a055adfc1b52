// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The oscilloscope viewer: draws the recorded 1024 samples with the scales chosen in the
// settings image; changing a scale stores the choice into section 10's record. The time base
// ("мс/деление") is the one zoom: the mouse wheel steps it about the point under the mouse, so
// the grid, the ms/div text and the trace always agree. Beside that it pans the time axis, reads
// time and voltage under the mouse and saves the picture or the samples.

#include "journals/JournalCsv.h"
#include "render/OscPicture.h"

#include <QDialog>
#include <QImage>

class QLabel;
class QScrollBar;

namespace mk {

class RadioGroup;
class TMK;

class TMK_ViewOscDlg : public QDialog
{
    Q_OBJECT
public:
    TMK_ViewOscDlg(TMK &model, QWidget *parent = nullptr);

    // The picture as last drawn (the paint box shows it at (0, 0)).
    const QImage &picture() const { return m_picture; }
    int offset() const { return m_drawing.offset; }
    const OscDrawing &drawing() const { return m_drawing; }
    // A scale choice was stored into section 10's record while the dialog was open.
    bool settingsChanged() const { return m_changed; }

    // Time-base index (as "мс/деление" stores it), keeping the sample at picture x where it is drawn.
    void setTimeDivAt(int index, double anchorX);
    // The readout for the mouse at a point of the paint box; empty outside the trace area.
    QString cursorText(const QPoint &at) const;

    bool savePicture(const QString &path);
    bool saveData(const QString &path, CsvDialect dialect = CsvDialect::Plain);

private:
    void voltDivClick();
    void timeDivClick();
    void inDividerClick();
    void redraw();
    void setOffset(int offset);
    void wheelAt(int steps, double x);
    // The path chosen, empty when cancelled; *chosenFilter the file type chosen of filters.
    QString askSavePath(const QStringList &filters, const QString &suffix, QString *chosenFilter = nullptr);

    TMK &m_model;
    OscDrawing m_drawing;
    OscSettings m_recordSettings; // the scales at opening: the record's own
    QImage m_picture;
    bool m_changed = false;
    QString m_saveFolder;
    QWidget *m_paintBox = nullptr;
    RadioGroup *m_voltDiv = nullptr;
    RadioGroup *m_timeDiv = nullptr;
    RadioGroup *m_inDivider = nullptr;
    QScrollBar *m_scroll = nullptr;
    QLabel *m_cursor = nullptr;
};

} // namespace mk
