#pragma once

#include <QImage>
#include <QLabel>
#include <QWidget>
#include <optional>
#include <string>

#include "common/game_folder.h"
#include "pegs/peg_data.h"
#include "pegs/peg_map.h"

namespace venuecheck {

// The map of a peg as the web report draws it, scaled to fit with its
// proportions and its cells kept square-edged; it says which cell the
// pointer is over.
class PegMapView : public QWidget {
    Q_OBJECT

public:
    explicit PegMapView(QWidget* parent = nullptr);

    void SetMap(QImage map);
    const QImage& Map() const { return map_; }
    // Outlines a part of the map, in the map's pixels (empty: none).
    void SetMarked(const QRectF& pixels);
    // Where the map is drawn in the widget.
    QRect MapPlace() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // As high as the map is at the width given, with its proportions.
    bool hasHeightForWidth() const override { return !map_.isNull(); }
    int heightForWidth(int width) const override;

signals:
    // The pointer is over a pixel of the map (-1, -1: it left the map).
    void Pointed(int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QImage map_;
    QRectF marked_;
};

// The side panel with the map of one peg of the shown report: its name and
// data file, the map, what the pointer is over (the cell's depth in feet
// and inches and its objects), and the legend of the colours.
class PegMapPanel : public QWidget {
    Q_OBJECT

public:
    explicit PegMapPanel(QWidget* parent = nullptr);

    // Reads the peg's data file from the game folder and draws its map; a
    // file that cannot be analysed gets a sentence instead of a map.
    void ShowPeg(const GameFolder& folder, const std::string& name, const std::string& dataFile,
                 float dpRatio);
    // Nothing chosen: a sentence says how to choose a peg.
    void ShowNothing();

    bool HasMap() const { return !view_->Map().isNull(); }
    QString PegName() const { return title_->text(); }
    PegMapView* View() const { return view_; }
    // What the pointer is over, as the panel says it.
    QString PointedText() const { return pointed_->text(); }
    // The text for a pixel of the map, and the cell's place in the map.
    QString DescribePixel(int x, int y, QRectF* cell = nullptr) const;

private:
    QLabel* title_;
    QLabel* subtitle_;
    PegMapView* view_;
    QLabel* pointed_;
    QWidget* legend_;
    std::optional<PegData> data_;
    std::optional<PegCellSize> cellSize_;
    float dpRatio_ = 1.0f;
};

// The map as a Qt image with its palette.
QImage ImageOf(const IndexedImage& image);

}  // namespace venuecheck
