// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The marks a setting's control carries: changed since the editor opened (its caption in bold, a
// solid frame with a filled corner) and different from the factory value (its caption in italics,
// a hollow circle at the other corner). Shapes and fonts tell them apart in every style; the tint
// only helps. The frame is a sibling drawn around the control and lets every click through.

#include <QPointer>
#include <QWidget>

namespace mk {

enum class SettingMark : quint8 { None = 0, Changed = 1, NotFactory = 2, Both = 3 };
inline SettingMark operator|(SettingMark a, SettingMark b) { return SettingMark(quint8(a) | quint8(b)); }
inline bool has(SettingMark set, SettingMark m) { return (quint8(set) & quint8(m)) != 0; }

class ChangeMarker : public QWidget
{
    Q_OBJECT
public:
    // Follows `control` (moves, resizes, shows and hides with it); `caption` is the widget whose
    // font carries the mark: its label, or the control itself.
    ChangeMarker(QWidget *control, QWidget *caption);

    void setMark(SettingMark mark);
    SettingMark mark() const { return m_mark; }
    // A brief highlight of the control (a search result), gone after `ms`.
    void flash(int ms);
    bool flashing() const { return m_flash; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void follow();

    QPointer<QWidget> m_control;
    QPointer<QWidget> m_caption;
    QFont m_controlFont;
    QFont m_captionFont;
    SettingMark m_mark = SettingMark::None;
    bool m_flash = false;
    int m_flashSerial = 0;
};

} // namespace mk
