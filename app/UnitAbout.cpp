#include "app/UnitAbout.h"

#include "app/help/ShellOpen.h"
#include "resources/ConstsZVX.h"
#include "resources/Version.h"
#include "widgets/Glyphs.h"
#include "widgets/JpegImage.h"

#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {
QLabel* LinkLabel(const char* text, Qt::Alignment alignment, QWidget* parent)
{
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setAlignment(alignment);
    label->setCursor(Qt::PointingHandCursor);
    QFont font = label->font();
    font.setUnderline(true);
    label->setFont(font);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, Qt::blue);
    label->setPalette(p);
    return label;
}
} // namespace

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("O programie"));

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(2);

    ProgramIcon = new QLabel(panel);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setFixedSize(128, 64);
    const QImage logo = JpegImage::Load(QString::fromLatin1(Glyphs::kLogoPicture));
    if (!logo.isNull())
        ProgramIcon->setPixmap(QPixmap::fromImage(logo));

    ProductName = new QLabel(QString::fromUtf8(ConstsZVX::ProgramCaption), panel);
    ProductName->setObjectName(QStringLiteral("ProductName"));
    ProductName->setAlignment(Qt::AlignCenter);
    QFont bold = ProductName->font();
    bold.setBold(true);
    ProductName->setFont(bold);

    Version = new QLabel(QStringLiteral("ver ") + QLatin1String(ProgramVersion::Number), panel);
    Version->setObjectName(QStringLiteral("Version"));
    Version->setAlignment(Qt::AlignCenter);

    Copyright =
        new QLabel(QStringLiteral("%1\n%2\n%3")
                       .arg(QString::fromUtf8(Vendor::Name), QString::fromUtf8(Vendor::Address),
                            QString::fromUtf8(Vendor::Phones)),
                   panel);
    Copyright->setObjectName(QStringLiteral("Copyright"));
    Copyright->setAlignment(Qt::AlignCenter);
    Copyright->setWordWrap(true);
    QPalette navy = Copyright->palette();
    navy.setColor(QPalette::WindowText, QColor(0x00, 0x00, 0x80));
    Copyright->setPalette(navy);

    Label1 = LinkLabel(Vendor::Web, Qt::AlignLeft | Qt::AlignVCenter, panel);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = LinkLabel(Vendor::Mail, Qt::AlignRight | Qt::AlignVCenter, panel);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label1->installEventFilter(this);
    Label2->installEventFilter(this);

    auto* names = new QVBoxLayout;
    names->addStretch();
    names->addWidget(ProductName);
    names->addWidget(Version);
    names->addStretch();
    auto* top = new QHBoxLayout;
    top->setSpacing(12);
    top->addWidget(ProgramIcon, 0, Qt::AlignTop);
    top->addLayout(names, 1);
    auto* links = new QHBoxLayout;
    links->addWidget(Label1);
    links->addStretch();
    links->addWidget(Label2);
    auto* inside = new QVBoxLayout(panel);
    // Clear of the bevel and of the logo: nothing may touch either.
    inside->setContentsMargins(10, 10, 10, 8);
    inside->setSpacing(4);
    inside->addLayout(top);
    inside->addSpacing(6);
    inside->addWidget(Copyright);
    inside->addLayout(links);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* column = new QVBoxLayout(this);
    column->addWidget(panel);
    column->addWidget(OKButton, 0, Qt::AlignHCenter);
    // 362 x 188, or more where the fonts need it (the address wraps to the width).
    const int width = std::max(362, column->sizeHint().width());
    const int height = column->hasHeightForWidth() ? column->totalHeightForWidth(width)
                                                   : column->sizeHint().height();
    setFixedSize(width, std::max(188, height));
}

void TAboutBox::Label1Click()
{
    ShellOpen(QUrl(QString::fromLatin1(Vendor::WebUrl)));
}

void TAboutBox::Label2Click()
{
    ShellOpen(QUrl(QString::fromLatin1(Vendor::MailUrl)));
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == Label1)
            Label1Click();
        else if (watched == Label2)
            Label2Click();
    }
    return QDialog::eventFilter(watched, event);
}
