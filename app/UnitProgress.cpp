#include "app/UnitProgress.h"

#include "resources/ConstsZVX.h"
#include "widgets/CopyAnimation.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

namespace {
// The Windows tool's colour value 10485760 (0x00A00000, blue in the high byte).
const QColor kDarkBlue(0x00, 0x00, 0xA0);

QLabel* MessageLabel(QWidget* parent, int width)
{
    auto* label = new QLabel(parent);
    label->setFixedSize(width, 26);
    label->setAlignment(Qt::AlignCenter);
    label->setAutoFillBackground(true);
    QPalette p = label->palette();
    p.setColor(QPalette::Window, p.color(QPalette::ToolTipBase));
    label->setPalette(p);
    return label;
}
} // namespace

TFormProgress::TFormProgress(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("FormProgress"));
    m_transferText = ConstsZVX::ProgressTransfer;
    setFixedSize(356, 166);

    auto* panel = new QFrame(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(5);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(panel);

    Label1 = MessageLabel(panel, 301);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = MessageLabel(panel, 38);
    Label2->setObjectName(QStringLiteral("Label2"));
    QPalette p = Label2->palette();
    p.setColor(QPalette::WindowText, kDarkBlue);
    Label2->setPalette(p);

    Animate1 = new CopyAnimation(panel);
    Animate1->setObjectName(QStringLiteral("Animate1"));
    Animate1->setFixedSize(CopyAnimation::kWidth, CopyAnimation::kHeight);

    ProgressBar1 = new QProgressBar(panel);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setFixedSize(305, 16);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setTextVisible(false);

    auto* line = new QHBoxLayout;
    line->setSpacing(0);
    line->addStretch();
    line->addWidget(Label1);
    line->addWidget(Label2);
    line->addStretch();

    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(12, 12, 12, 12);
    column->addLayout(line);
    column->addWidget(Animate1, 0, Qt::AlignHCenter);
    column->addWidget(ProgressBar1, 0, Qt::AlignHCenter);
}

void TFormProgress::SetStayOnTop(bool on)
{
    // Changing window flags hides a visible window, so this is done only while hidden.
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
}

void TFormProgress::TransferStart()
{
    if (!isVisible())
        SetStayOnTop(true);
    Animate1->start();
    m_transferText = ConstsZVX::ProgressTransfer;
    Label1->setText(QString::fromUtf8(ConstsZVX::ProgressConnecting));
    Label2->clear();
    ProgressBar1->setValue(0);
    // Centred on the screen the main window is on, as the dialogs are.
    if (QScreen* where = parentWidget() ? parentWidget()->screen() : screen())
        move(where->availableGeometry().center() - rect().center());
    show();
    raise();
}

void TFormProgress::TransferProgress(int percent)
{
    if (percent == -1) {
        Label1->setText(QString::fromUtf8(ConstsZVX::ProgressRetry));
        return;
    }
    Label1->setText(QString::fromUtf8(m_transferText));
    Label2->setText(QString::number(percent) + QLatin1Char('%'));
    ProgressBar1->setValue(percent);
}

void TFormProgress::TransferConfirm(ConfigEvent event)
{
    m_transferText = event == ConfigEvent::Write ? ConstsZVX::ProgressConfirmWrite
                                                 : ConstsZVX::ProgressConfirmRead;
    Label1->setText(QString::fromUtf8(m_transferText));
    Label2->clear();
    ProgressBar1->setValue(0);
}

void TFormProgress::TransferEnd()
{
    m_transferText = ConstsZVX::ProgressTransfer;
    hide();
    Animate1->stop();
    SetStayOnTop(false);
}
