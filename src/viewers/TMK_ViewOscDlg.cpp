#include "viewers/TMK_ViewOscDlg.h"

#include "model/TMK.h"
#include "viewers/RadioGroup.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QScrollBar>
#include <QVBoxLayout>

namespace mk {

namespace {

constexpr int kPaintBoxWidth = 1002;
constexpr int kPaintBoxHeight = 278;

// Shows the dialog's picture; painting never recomputes the trace.
class PaintBox : public QWidget
{
public:
    PaintBox(const QImage &picture, QWidget *parent) : QWidget(parent), m_picture(picture)
    {
        setObjectName(QStringLiteral("PB"));
        setFixedSize(kPaintBoxWidth, kPaintBoxHeight);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.drawImage(0, 0, m_picture);
    }

private:
    const QImage &m_picture;
};

} // namespace

TMK_ViewOscDlg::TMK_ViewOscDlg(TMK &model, QWidget *parent)
    : QDialog(parent), m_model(model), m_picture(kPaintBoxWidth, kPaintBoxHeight, QImage::Format_RGB32)
{
    setObjectName(QStringLiteral("TMK_ViewOscDlg"));
    setWindowTitle(QStringLiteral("Просмотр данных осциллографа"));

    m_drawing.settings = oscSettings(m_model.record(10), m_model.osc(0).header);
    m_drawing.samples = oscSamples(m_model);
    m_drawing.showScale = 1.0 / oscTimeDivisor(m_drawing.settings.timeDiv);
    m_drawing.offset = 0;

    m_paintBox = new PaintBox(m_picture, this);
    m_scroll = new QScrollBar(Qt::Horizontal, this);
    m_scroll->setObjectName(QStringLiteral("sbSclollOffset"));
    m_scroll->setRange(kOscOffsetMin, kOscOffsetMax);
    m_scroll->setValue(0);
    m_scroll->setPageStep(32);

    m_voltDiv = new RadioGroup(QStringLiteral("rgOscVoltDiv"), QStringLiteral("Вольт/деление"),
                               oscVoltDivLabels(m_drawing.settings.dividerRange), 3, this);
    m_timeDiv = new RadioGroup(QStringLiteral("rgOscTimeDiv"), QStringLiteral("мс/деление"), oscTimeDivLabels(), 10, this);
    m_inDivider = new RadioGroup(QStringLiteral("rgOscInDivider"), QStringLiteral("Входной делитель"), oscDividerLabels(), 3, this);
    m_voltDiv->setItemIndex(m_drawing.settings.voltDiv);
    m_timeDiv->setItemIndex(m_drawing.settings.timeDiv);
    m_inDivider->setItemIndex(m_drawing.settings.inDivider);

    connect(m_voltDiv, &RadioGroup::itemClicked, this, &TMK_ViewOscDlg::voltDivClick);
    connect(m_timeDiv, &RadioGroup::itemClicked, this, &TMK_ViewOscDlg::timeDivClick);
    connect(m_inDivider, &RadioGroup::itemClicked, this, &TMK_ViewOscDlg::inDividerClick);
    connect(m_scroll, &QScrollBar::valueChanged, this, [this](int position) {
        m_drawing.offset = position;
        redraw();
    });

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *groups = new QHBoxLayout;
    groups->addWidget(m_voltDiv);
    groups->addWidget(m_timeDiv, 1);
    groups->addWidget(m_inDivider);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_paintBox);
    layout->addWidget(m_scroll);
    layout->addLayout(groups);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    redraw();
}

void TMK_ViewOscDlg::voltDivClick()
{
    const int index = m_voltDiv->itemIndex();
    if (index < 0)
        return;
    storeOscVoltDiv(m_model.record(10), index);
    m_drawing.settings.voltDiv = index;
    m_changed = true;
    redraw();
}

void TMK_ViewOscDlg::timeDivClick()
{
    const int index = m_timeDiv->itemIndex();
    if (index < 0)
        return;
    storeOscTimeDiv(m_model.record(10), index);
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
    storeOscInDivider(m_model.record(10), index);
    m_drawing.settings.inDivider = index;
    m_changed = true;
    voltDivClick();
}

void TMK_ViewOscDlg::redraw()
{
    drawOscPicture(m_picture, m_drawing);
    m_paintBox->update();
}

} // namespace mk
