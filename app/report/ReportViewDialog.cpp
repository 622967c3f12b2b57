#include "app/report/ReportViewDialog.h"

#include "resources/ConstsZVX.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

ReportViewDialog::ReportViewDialog(const QString& title, const QStringList& lines, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FormReportView"));
    setWindowTitle(title);
    Text = new QPlainTextEdit(lines.join(QLatin1Char('\n')), this);
    Text->setReadOnly(true);
    Text->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto* close = new QPushButton(QString::fromUtf8(ConstsZVX::ButtonClose), this);
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Text);
    layout->addLayout(buttons);
    // Wide enough for the report's 80 columns where the screen allows.
    const QFontMetrics metrics(Text->font());
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const int room = screen ? screen->availableGeometry().width() : 1280;
    resize(std::min(metrics.horizontalAdvance(QString(84, u'0')) + 40, room), 560);
}
