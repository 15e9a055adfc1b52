#pragma once
// The oscilloscope viewer: draws the recorded 1024 samples with the scales chosen in the
// settings image; changing a scale stores the choice into section 10's record.

#include "viewers/OscPicture.h"

#include <QDialog>
#include <QImage>

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
    // A scale choice was stored into section 10's record while the dialog was open.
    bool settingsChanged() const { return m_changed; }

private:
    void voltDivClick();
    void timeDivClick();
    void inDividerClick();
    void redraw();

    TMK &m_model;
    OscDrawing m_drawing;
    QImage m_picture;
    bool m_changed = false;
    QWidget *m_paintBox = nullptr;
    RadioGroup *m_voltDiv = nullptr;
    RadioGroup *m_timeDiv = nullptr;
    RadioGroup *m_inDivider = nullptr;
    QScrollBar *m_scroll = nullptr;
};

} // namespace mk
