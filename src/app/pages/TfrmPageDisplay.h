#pragma once

#include <QWidget>

#include <cstdint>
#include <memory>

class QLabel;
class QPainter;
class QRect;
class QToolButton;
class TEgoNetGraphEx;
class TEgoNetModel;
class TListGrid;
namespace Ui {
class TfrmPageDisplay;
}

// The Display page: the picture driven by the data. It shows links by type, widens links by a
// link attribute, shows persons by chosen values of a person attribute and colours persons by
// one. Every change goes straight into the graph objects, which are saved with the graph; the
// page's own choices (colours, widths, check marks) are kept nowhere.
class TfrmPageDisplay : public QWidget
{
    Q_OBJECT

public:
    static constexpr uint32_t DefaultStartColor = 0x0000FF00;
    static constexpr uint32_t DefaultEndColor = 0x00008000;
    static constexpr int DefaultStartWidth = 1;
    static constexpr int DefaultEndWidth = 5;

    explicit TfrmPageDisplay(QWidget* parent = nullptr);
    ~TfrmPageDisplay() override;

    // Binds the page to a graph (none keeps the one bound), lists its link types (all shown),
    // attributes and attribute names, and shows every person again.
    void AttachGraph(TEgoNetGraphEx* host);
    // Relists what has gone stale since the graph was changed on other pages.
    void RefreshLists();

    // Shows the links of the checked types only; nothing stays selected.
    void ApplyLinkTypeFilter();
    // Enables and shows the persons whose value of the chosen attribute is checked, and those
    // without the attribute.
    void ApplyPersonFilter();
    // Width or colour by the attribute of a row of the radio grids (row as TListGrid counts).
    void ApplyWidthMapping(int row);
    void ApplyColorMapping(int row);
    void lbResetWidthClick();
    void lbResetColorsClick();

    // start blended towards end by percent (0 to 100; anything else is clamped, not a number
    // counts as 0).
    static uint32_t BlendColor(uint32_t start, uint32_t end, double percent);
    // 256 stripes from start to end across rect, left to right or top to bottom.
    static void PaintGradient(QPainter& canvas, const QRect& rect, uint32_t start, bool vertical, uint32_t end);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using TApply = void (TfrmPageDisplay::*)();

    TEgoNetModel* Model() const;
    void GraphEdited();
    // "All", "None", a click on a check box and a click on a text cell of a check-box grid,
    // each followed by apply.
    void ConnectCheckGrid(TListGrid& grid, QToolButton* all, QToolButton* none, TApply apply);
    void ConnectRadioGrid(TListGrid& grid, void (TfrmPageDisplay::*apply)(int));
    void CheckAll(TListGrid& grid, bool checked, TApply apply);
    // The lists of the graph; keep leaves each list that is still up to date as it is.
    void ListGraph(bool keep);
    // Fills the grid with the names unless keep is set and it lists them already; true when
    // it filled it.
    bool FillNames(TListGrid& grid, const QStringList& names, bool radio, bool keep);
    // No attribute chosen, the names offered.
    void OfferAttributes(const QStringList& names);
    void cbAttributeClick();
    void ShowSwatch(QLabel& swatch, uint32_t colour);
    void ShowColors();
    void PickColor(uint32_t& colour, QPoint globalPos);

    std::unique_ptr<Ui::TfrmPageDisplay> ui;
    TEgoNetGraphEx* FHost = nullptr;
    uint32_t FStartColor = DefaultStartColor;
    uint32_t FEndColor = DefaultEndColor;
    // Check marks change by the page's own hand, not the user's.
    bool FChecking = false;
};
