#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TfrmAbout;
}

// The About box: the emblem, the program's name and version, and what it is for. Shown without
// waiting and kept on top until OK or Esc.
class TfrmAbout : public QDialog
{
    Q_OBJECT

public:
    static constexpr int Width = 399;
    static constexpr int Height = 204;

    explicit TfrmAbout(QWidget* parent = nullptr);
    ~TfrmAbout() override;

    QString VersionLine() const;
    // Shows the box centred on the screen and returns at once.
    void ShowCentred();

private:
    std::unique_ptr<Ui::TfrmAbout> FUi;
};
