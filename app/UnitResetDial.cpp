#include "app/UnitResetDial.h"

#include "app/DialogButtons.h"
#include "device/TZorvexSettingsControl.h"
#include "widgets/HelpKey.h"
#include "widgets/TimePicker.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFormResetDial::TFormResetDial(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormResetDial"));
    HelpKey::Bind(this, QStringLiteral("restart.html"));
    setWindowTitle(QStringLiteral("Restart Dialera"));

    auto* bevel = new QFrame(this);
    bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    auto* label = new QLabel(QStringLiteral("&Godzina restartu:"), bevel);
    DateTimePicker1 = new TimePicker(bevel);
    DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
    label->setBuddy(DateTimePicker1);
    auto* row = new QHBoxLayout(bevel);
    row->addWidget(label);
    row->addWidget(DateTimePicker1);

    QHBoxLayout* buttons = OkCancelRow(this, QStringLiteral("&Restart"), BitBtn1, BitBtn2);
    auto* column = new QVBoxLayout(this);
    column->addWidget(bevel);
    column->addLayout(buttons);
    setFixedSize(277, 106);
}

int TFormResetDial::RequestRestart(TZorvexSettingsControl& link)
{
    return RequestRestart([&link](const QTime& time) { link.RestartDevice(time); });
}

int TFormResetDial::RequestRestart(const std::function<void(const QTime& time)>& restart)
{
    DateTimePicker1->SetTime(Now().time());
    const int result = exec();
    if (result == QDialog::Accepted)
        restart(DateTimePicker1->Time());
    return result;
}
