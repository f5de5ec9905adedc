#include "app/pages/TfrmPageDisplay.h"

#include "app/dialogs/TColorGrid64.h"
#include "app/dialogs/TfrmSelectColor.h"
#include "app/grids/GridHelpers.h"
#include "app/grids/TListGrid.h"
#include "common/ScriptedDialogRunner.h"
#include "common/ScriptedDialogs.h"
#include "view/TEgoNetGraphEx.h"

#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr uint32_t kGreen = TfrmPageDisplay::DefaultStartColor;
constexpr uint32_t kDarkGreen = TfrmPageDisplay::DefaultEndColor;
// Half-way: n = 128, so G = 255 + MulDiv(128, 128 - 255, 255) = 191.
constexpr uint32_t kHalfway = 0x00BF00;

class DisplayPageTest : public ::testing::Test
{
protected:
    DisplayPageTest()
    {
        for (const char* caption : {"Ann", "Bob", "Cid", "Dan"})
            persons << model().NewNode({50, 50}, caption);
        links << model().NewLink(persons[0], persons[1], "friend", "")
              << model().NewLink(persons[1], persons[2], "colleague", "")
              << model().NewLink(persons[2], persons[3], "colleague", "");
        page.AttachGraph(&host);
        page.show();
    }

    TEgoNetModel& model() { return host.Graph().Model(); }
    template <typename Widget = TListGrid>
    Widget& Control(const char* name)
    {
        Widget* widget = page.findChild<Widget*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return *widget;
    }
    // Gives the objects the attribute with these values; "-" leaves one without it.
    template <typename Object>
    void Give(const QList<Object*>& objects, const QString& name, const QStringList& values)
    {
        for (int i = 0; i < values.size(); ++i)
            if (values[i] != "-")
                objects[i]->Attributes.AddAttribute(name, values[i]);
        page.RefreshLists();
    }
    void ClickCell(const char* grid, const QString& text, int column)
    {
        TListGrid& g = Control(grid);
        const int row = FindRowByText(g, text, 1);
        ASSERT_GE(row, 1) << text.toStdString();
        QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, g.visualItemRect(g.item(g.ItemRow(row), column)).center());
    }
    void Choose(const QString& attribute)
    {
        auto& combo = Control<QComboBox>("cbAttribute");
        while (combo.currentText() != attribute && combo.currentIndex() < combo.count() - 1)
            QTest::keyClick(&combo, Qt::Key_Down);
    }
    QList<uint32_t> Colors() const
    {
        QList<uint32_t> colors;
        for (const TOrganizedNode* person : persons)
            colors << person->Color;
        return colors;
    }
    QList<int> Widths() const { return {links[0]->Width, links[1]->Width, links[2]->Width}; }
    QAccessibleInterface* Accessible(const char* name)
    {
        return QAccessible::queryAccessibleInterface(&Control<QWidget>(name));
    }
    QRgb Pixel(const char* label, QPoint at) { return Control<QLabel>(label).pixmap().toImage().pixel(at); }

    TEgoNetGraphEx host;
    TfrmPageDisplay page;
    QList<TOrganizedNode*> persons;
    QList<TEgoNetEdge*> links;
};

TEST_F(DisplayPageTest, LinkTypesAllNoneAndNameClicks)
{
    persons[0]->SetSelected(true);
    QTest::mouseClick(&Control<QToolButton>("ToolButton5"), Qt::LeftButton);
    EXPECT_EQ(model().ShownLinkCount(), 0);
    EXPECT_FALSE(persons[0]->Selected());
    persons[0]->SetSelected(true);
    QTest::mouseClick(&Control<QToolButton>("ToolButton4"), Qt::LeftButton);
    EXPECT_EQ(model().ShownLinkCount(), 3);
    EXPECT_EQ(model().SelectedNodeCount(), 0);

    ClickCell("asgLinkTypes", "colleague", 1);
    EXPECT_EQ(model().ShownLinks(), QList<TEgoNetEdge*>{links[0]});
    ClickCell("asgLinkTypes", "colleague", 0);
    EXPECT_EQ(model().ShownLinkCount(), 3);
}

TEST_F(DisplayPageTest, PersonsAreColouredByNumberOrByRank)
{
    persons[3]->Color = 0x123456;
    Give(persons, "age", {"20", "30", "na", "-"});
    Give(persons, "city", {"Rome", "Berlin", "Paris", "-"});
    Give(persons, "team", {"A", "a", "-", "A"});
    host.Graph().SetIsChanged(false);
    ClickCell("asgAttrColor", "age", 0);
    EXPECT_EQ(Colors(), QList<uint32_t>({kGreen, kDarkGreen, kGreen, 0x123456})) << "missing counts as the lowest";
    EXPECT_TRUE(host.Graph().IsChanged()) << "the colours are saved with the graph";
    persons[3]->Attributes.AddAttribute("age", "40");
    ClickCell("asgAttrColor", "age", 0);
    EXPECT_EQ(Colors(), QList<uint32_t>({kGreen, kHalfway, kGreen, kDarkGreen}));
    EXPECT_EQ(TfrmPageDisplay::BlendColor(kGreen, kDarkGreen, 50), kHalfway);

    ClickCell("asgAttrColor", "city", 0);
    EXPECT_EQ(Colors(), QList<uint32_t>({kDarkGreen, kGreen, kHalfway, kDarkGreen}));
    ClickCell("asgAttrColor", "team", 0);
    EXPECT_EQ(Colors(), QList<uint32_t>({kGreen, kGreen, kHalfway, kGreen})) << "one value: the start colour";
}

TEST_F(DisplayPageTest, LinkWidthsFollowTheValuesWithHalvesToEven)
{
    Give(links, "weight", {"0", "5", "10"});
    Give(links, "cost", {"0", "1", "8"});
    ClickCell("asgAttrWidth", "weight", 0);
    EXPECT_EQ(Widths(), QList<int>({1, 3, 5}));
    ClickCell("asgAttrWidth", "cost", 0);
    EXPECT_EQ(links[1]->Width, 1) << "1 + round(4 * 0.125)";

    // Hidden links are widened by the shown links' values; one whose value is no number keeps its width.
    ClickCell("asgLinkTypes", "friend", 1);
    links[0]->Attributes.SetValue("weight", "heavy");
    links[0]->Width = 7;
    links[1]->Attributes.SetValue("weight", "20");
    ClickCell("asgAttrWidth", "weight", 0);
    EXPECT_EQ(Widths(), QList<int>({7, 5, 1}));
    links[0]->Attributes.SetValue("weight", "30");
    ClickCell("asgAttrWidth", "weight", 0);
    EXPECT_EQ(links[0]->Width, 9) << "beyond the shown values, beyond the end width";

    TScriptedDialogs messages;
    Control<QSpinBox>("SpinEdit1").setValue(3);
    Control<QSpinBox>("SpinEdit2").setValue(2);
    ClickCell("asgAttrWidth", "weight", 0);
    ASSERT_EQ(messages.Messages().size(), 1);
    EXPECT_EQ(messages.Messages()[0].Text, "End width must be equal or greater thar Start width.");
    EXPECT_EQ(Widths(), QList<int>({9, 5, 1}));

    QTest::mouseClick(&Control<QLabel>("lbResetWidth"), Qt::LeftButton);
    EXPECT_EQ(Control<QSpinBox>("SpinEdit1").value(), 1);
    EXPECT_EQ(Control<QSpinBox>("SpinEdit2").value(), 5);
    EXPECT_EQ(CountChecked(Control("asgAttrWidth"), 0), 0);
}

TEST_F(DisplayPageTest, PersonsAreShownByCheckedValues)
{
    Give(persons, "city", {"Rome", "Paris", "na", "-"});
    Choose("city");
    EXPECT_EQ(Control("asgAttrVal").RowCount(), 4) << "Paris, Rome, na";
    QTest::mouseClick(&Control<QToolButton>("ToolButton11"), Qt::LeftButton);
    for (const TOrganizedNode* person : persons)
        EXPECT_EQ(person->Visible && person->Enabled, person == persons[3]) << person->Caption().toStdString();

    ClickCell("asgAttrVal", "Paris", 0);
    ClickCell("asgAttrVal", "na", 1);
    EXPECT_FALSE(persons[0]->Enabled || persons[0]->Visible);
    EXPECT_TRUE(persons[1]->Enabled && persons[1]->Visible && persons[2]->Enabled && persons[3]->Enabled);

    // A graph attached anew shows everyone again.
    page.AttachGraph(nullptr);
    EXPECT_TRUE(persons[0]->Enabled && persons[0]->Visible);
    EXPECT_EQ(Control<QComboBox>("cbAttribute").currentText(), "");
}

TEST_F(DisplayPageTest, RefreshKeepsWhatIsCurrentAndRelistsWhatIsStale)
{
    Give(persons, "city", {"Rome", "Paris", "-", "-"});
    Choose("city");
    ClickCell("asgLinkTypes", "friend", 1);
    ClickCell("asgAttrColor", "city", 0);
    page.RefreshLists();
    EXPECT_EQ(CountChecked(Control("asgLinkTypes"), 0), 1);
    EXPECT_EQ(CountChecked(Control("asgAttrColor"), 0), 1);
    EXPECT_EQ(Control<QComboBox>("cbAttribute").currentText(), "city");

    model().NewLink(persons[0], persons[3], "neighbour", "");
    model().DeleteNodeAttribute("city");
    page.RefreshLists();
    EXPECT_EQ(CountChecked(Control("asgLinkTypes"), 0), 3);
    EXPECT_EQ(model().ShownLinkCount(), 4);
    EXPECT_EQ(Control<QComboBox>("cbAttribute").currentText(), "");
    EXPECT_EQ(Control("asgAttrVal").RowCount(), 2);
    EXPECT_EQ(Control("asgAttrColor").RowCount(), 1);
}

TEST_F(DisplayPageTest, BlendAndGradientReachBothEnds)
{
    EXPECT_EQ(TfrmPageDisplay::BlendColor(0x102030, 0x405060, -5), 0x102030u);
    EXPECT_EQ(TfrmPageDisplay::BlendColor(0x102030, 0x405060, 250), 0x405060u);
    EXPECT_EQ(TfrmPageDisplay::BlendColor(0x102030, 0x405060, std::nan("")), 0x102030u);
    QImage bar(4, 512, QImage::Format_RGB32);
    QPainter canvas(&bar);
    TfrmPageDisplay::PaintGradient(canvas, bar.rect(), 0x0000FF, true, 0xFF0000);
    canvas.end();
    EXPECT_EQ(bar.pixel(3, 0), qRgb(255, 0, 0));
    EXPECT_EQ(bar.pixel(0, 256), qRgb(127, 0, 128)) << "stripe 128";
    EXPECT_EQ(bar.pixel(0, 511), qRgb(0, 0, 255));
}

TEST_F(DisplayPageTest, TheStartColourIsPickedAboveThePointNearTheBottom)
{
    auto& swatch = Control<QLabel>("Image1");
    const int bottom = swatch.screen()->availableGeometry().bottom();
    page.move(page.pos() + QPoint(0, bottom - 20 - swatch.mapToGlobal(QPoint()).y()));
    const QPoint at = swatch.mapToGlobal(QPoint(5, 5));
    ASSERT_GT(at.y() + TfrmSelectColor::WindowHeight(), bottom);
    TScriptedDialogRunner runner;
    int top = 0;
    runner.Then([&](QDialog& dialog) {
        top = dialog.pos().y();
        auto& grid = *dialog.findChild<TColorGrid64*>("ColorGrid");
        QTest::mousePress(&grid, Qt::LeftButton, {}, grid.CellRect(17).center());
        QTest::mouseRelease(&grid, Qt::LeftButton, {}, grid.CellRect(17).center());
    });
    QTest::mousePress(&swatch, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(top, at.y() - TfrmSelectColor::WindowHeight());
    EXPECT_EQ(Pixel("Image1", {7, 7}), qRgb(255, 204, 0));
    EXPECT_EQ(Pixel("Image1", {0, 0}), qRgb(0x7F, 0x9D, 0xB9)) << "the frame";
    // Stripes 0 and 255 of the 90-pixel bar are empty: it runs from stripe 1 to stripe 254.
    EXPECT_EQ(Pixel("Image3", {0, 7}), qRgb(254, 204, 0));
    EXPECT_EQ(Pixel("Image3", {89, 7}), qRgb(1, 128, 0));

    Give(persons, "age", {"1", "2", "-", "-"});
    ClickCell("asgAttrColor", "age", 0);
    EXPECT_EQ(persons[0]->Color, 0x00CCFFu);
    QTest::mouseClick(&Control<QLabel>("lbResetColors"), Qt::LeftButton);
    EXPECT_EQ(Pixel("Image3", {0, 7}), qRgb(0, 255, 0));
    EXPECT_EQ(CountChecked(Control("asgAttrColor"), 0), 0);
}

TEST_F(DisplayPageTest, EveryControlIsNamedByItsCaption)
{
    const QList<std::pair<const char*, QString>> controls{
        {"asgLinkTypes", "Show links of selected link types:"}, {"ToolButton4", "All"}, {"ToolButton5", "None"},
        {"asgAttrWidth", "Set edge width (in pixels) based on selected attribute: "}, {"SpinEdit1", "Start with:"},
        {"SpinEdit2", "End width:"}, {"lbResetWidth", "Reset"}, {"ToolButton10", "All"}, {"ToolButton11", "None"},
        {"asgAttrVal", "Show Persons based on selected attribute values "}, {"Image1", "Start color:"},
        {"asgAttrColor", "Color nodes based on selected attribute: "}, {"Image2", "End color:"},
        {"lbResetColors", "Reset"}, {"Image3", "Color scale"}};
    for (const auto& [name, caption] : controls)
        EXPECT_EQ(Accessible(name)->text(QAccessible::Name), caption) << name;
    // A combo box is named by its label.
    const auto labels = Accessible("cbAttribute")->relations(QAccessible::Label);
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels[0].first->text(QAccessible::Name), "Attribute:");
}

} // namespace
