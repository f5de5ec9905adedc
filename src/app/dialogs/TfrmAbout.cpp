#include "app/dialogs/TfrmAbout.h"

#include "app/AppResources.h"
#include "app/WindowHelpers.h"

#include "ui_TfrmAbout.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QScreen>

TfrmAbout::TfrmAbout(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
    , FUi(std::make_unique<Ui::TfrmAbout>())
{
    InitAppResources();
    FUi->setupUi(this);
    setFixedSize(Width, Height);
    // The emblem is vector artwork: drawn at the label's size, sharp on any screen.
    FUi->imgEmblem->setPixmap(QIcon(QStringLiteral(":/icons/emblem.svg")).pixmap(FUi->imgEmblem->maximumSize()));
    FUi->lblVersion->setText(QStringLiteral("Version 1.0 (build: %1)")
                                 .arg(FileVersionText(QCoreApplication::applicationFilePath())));
}

TfrmAbout::~TfrmAbout() = default;

QString TfrmAbout::VersionLine() const
{
    return FUi->lblVersion->text();
}

void TfrmAbout::ShowCentred()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    show();
    raise();
    activateWindow();
}
