#include "app/UnitProgramOptions.h"

#include "app/archive/ArchiveOptionsDialog.h"
#include "app/ports/PortPanel.h"
#include "app/report/AppPrinter.h"
#include "settings/ProgramSettings.h"
#include "widgets/ErrorGuard.h"
#include "widgets/Glyphs.h"
#include "widgets/HelpKey.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

TFormProgramOptions::TFormProgramOptions(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormProgramOptions"));
    HelpKey::Bind(this, QStringLiteral("porty.html"));
    setWindowTitle(QStringLiteral("Opcje programu"));

    auto* bevel = new QFrame(this);
    bevel->setObjectName(QStringLiteral("Bevel1"));
    bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);

    auto* label1 = new QLabel(QStringLiteral("Port &szeregowy dołączony do dialera:"), bevel);
    ComboBox1 = new QComboBox(bevel);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    // Every name the port list below shows.
    for (int number = 1; number <= PortPanel::ComNames; ++number)
        ComboBox1->addItem(QStringLiteral("COM%1").arg(number));
    label1->setBuddy(ComboBox1);

    // The printer label's accelerator also leads to the port list, as it always has.
    auto* label2 = new QLabel(QStringLiteral("&Konfiguracja drukarki:"), bevel);
    label2->setBuddy(ComboBox1);
    SpeedButton1 = new QToolButton(bevel);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setIcon(Glyphs::Icon(7));
    SpeedButton1->setAutoRaise(true);
    connect(SpeedButton1, &QToolButton::clicked, this, &TFormProgramOptions::SpeedButton1Click);

    auto* label3 = new QLabel(QStringLiteral("A&rchiwum konfiguracji:"), bevel);
    auto* archive = new QPushButton(QStringLiteral("Ustawienia..."), bevel);
    archive->setObjectName(QStringLiteral("ArchiveOptions"));
    label3->setBuddy(archive);
    // Written at once on OK: the archive's place is no part of the port's "Zachowaj".
    connect(archive, &QPushButton::clicked, this, [this] {
        ErrorGuard::RunGuarded([this] {
            ArchiveOptionsDialog dialog(this);
            dialog.EditAndKeep();
        });
    });

    auto* grid = new QGridLayout(bevel);
    grid->addWidget(label1, 0, 0);
    grid->addWidget(ComboBox1, 0, 1);
    grid->addWidget(label2, 1, 0);
    grid->addWidget(SpeedButton1, 1, 1, Qt::AlignLeft);
    grid->addWidget(label3, 2, 0);
    grid->addWidget(archive, 2, 1, Qt::AlignLeft);

    BitBtn1 = new QPushButton(QStringLiteral("&OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn3 = new QPushButton(QStringLiteral("&Zachowaj"), this);
    BitBtn3->setObjectName(QStringLiteral("BitBtn3"));
    BitBtn3->setIcon(Glyphs::Icon(4));
    BitBtn2 = new QPushButton(QStringLiteral("&Anuluj"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    connect(BitBtn1, &QPushButton::clicked, this, [this] { done(mrOk); });
    connect(BitBtn3, &QPushButton::clicked, this, [this] { done(mrAll); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { done(mrCancel); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn3);
    buttons->addWidget(BitBtn2);
    Ports = new PortPanel(PortDiscovery::Roots(), this);
    Ports->setObjectName(QStringLiteral("Ports"));
    connect(Ports, &PortPanel::PortFound, ComboBox1, &QComboBox::setCurrentIndex);

    auto* column = new QVBoxLayout(this);
    column->addWidget(bevel);
    column->addWidget(Ports);
    column->addStretch();
    column->addLayout(buttons);
    // 313 x 214, or wider where the font needs it for the port's label.
    setFixedSize(column->sizeHint().expandedTo(QSize(313, 214)));
}

void TFormProgramOptions::SpeedButton1Click()
{
    RunPrinterSetup(this);
}

int TFormProgramOptions::EditOptions(std::uint8_t& portIndex)
{
    ComboBox1->setCurrentIndex(portIndex < ComboBox1->count() ? portIndex : -1);
    int result = exec();
    if (result != mrOk && result != mrAll)
        result = mrCancel; // closing the window or Esc
    if (result == mrOk || result == mrAll)
        portIndex = static_cast<std::uint8_t>(ComboBox1->currentIndex());
    if (result == mrAll)
        ProgramSettings().SetPort(portIndex + 1);
    return result;
}
