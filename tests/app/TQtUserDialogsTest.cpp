#include "app/dialogs/TQtUserDialogs.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMap>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

#include <gtest/gtest.h>

namespace {

// Runs action on the modal box as soon as it is shown.
void WhenBoxShows(std::function<void(QMessageBox*)> action)
{
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            action(box);
        }
    });
    timer->start();
}

} // namespace

TEST(TQtUserDialogs, AskGivesThePositionOfTheChosenCaption)
{
    TQtUserDialogs dialogs;
    QString seenText;
    QStringList seenCaptions;
    WhenBoxShows([&](QMessageBox* box) {
        seenText = box->text();
        for (QAbstractButton* b : box->buttons())
            seenCaptions.append(b->text());
        for (QAbstractButton* b : box->buttons())
            if (b->text() == "Not really")
                b->click();
    });
    const int answer = dialogs.Ask("Are you sure you want to save empty file?",
                                   TMessageKind::Information, {"Yes", "Not really"});
    EXPECT_EQ(answer, 2);
    EXPECT_EQ(seenText, "Are you sure you want to save empty file?");
    EXPECT_TRUE(seenCaptions.contains("Yes"));
    EXPECT_TRUE(seenCaptions.contains("Not really"));
}

TEST(TQtUserDialogs, EscapeAndCloseGiveClosed)
{
    TQtUserDialogs dialogs;
    WhenBoxShows([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
    EXPECT_EQ(dialogs.Ask("Delete?", TMessageKind::Confirmation, {"Yes", "No, don't do that"}),
              IUserDialogs::Closed);

    WhenBoxShows([](QMessageBox* box) { box->close(); });
    EXPECT_EQ(dialogs.Ask("Delete?", TMessageKind::Confirmation, {"Yes"}), IUserDialogs::Closed);
}

TEST(TQtUserDialogs, MoreThanTenCaptionsShowNothing)
{
    TQtUserDialogs dialogs;
    QStringList captions;
    for (int i = 0; i < 11; ++i)
        captions.append(QString::number(i));
    // Would block forever if a box were shown.
    EXPECT_EQ(dialogs.Ask("?", TMessageKind::Information, captions), 0);
}

TEST(TQtUserDialogs, ShowHasOneOkButton)
{
    TQtUserDialogs dialogs;
    int buttonCount = -1;
    QString title;
    WhenBoxShows([&](QMessageBox* box) {
        buttonCount = int(box->buttons().size());
        title = box->windowTitle();
        box->button(QMessageBox::Ok)->click();
    });
    dialogs.Show("File name not specified.", TMessageKind::Warning);
    EXPECT_EQ(buttonCount, 1);
    EXPECT_EQ(title, "Warning");
}

TEST(TQtUserDialogs, ButtonsAreAtLeast65WideAndLongCaptionsGetTheirWidthAndTwenty)
{
    TQtUserDialogs dialogs;
    const QString longCaption = "No, let me check the list of persons first...";
    QMap<QString, int> widths;
    int boxWidth = 0;
    WhenBoxShows([&](QMessageBox* box) {
        for (QAbstractButton* b : box->buttons())
            widths[b->text()] = b->minimumWidth();
        boxWidth = box->width();
        box->buttons().first()->click();
    });
    dialogs.Ask("Connect all?", TMessageKind::Confirmation, {"Sure", longCaption});
    const int longWidth = QFontMetrics(QApplication::font("QMessageBox")).horizontalAdvance(longCaption) + 20;
    EXPECT_EQ(widths.value("Sure"), 65);
    EXPECT_NEAR(widths.value(longCaption), longWidth, 2);
    EXPECT_GE(boxWidth, 65 + 7 + widths.value(longCaption) + 7 + 60);
}
