#include "app/qt/peg_map_panel.h"

#include <QApplication>
#include <QGridLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QScopeGuard>
#include <QVBoxLayout>
#include <algorithm>
#include <new>
#include <stdexcept>

#include "app/qt/ansi_text.h"
#include "common/file_services.h"
#include "common/formatting.h"
#include "common/text.h"

namespace venuecheck {
namespace {

QColor ColourOf(const PaletteColour& colour) {
    return QColor(colour.red, colour.green, colour.blue);
}

// A small square of a legend's colour.
QLabel* Swatch(const PaletteColour& colour, QWidget* parent) {
    QPixmap pixmap(16, 12);
    pixmap.fill(ColourOf(colour));
    QPainter painter(&pixmap);
    painter.setPen(QColor(96, 96, 96));
    painter.drawRect(0, 0, pixmap.width() - 1, pixmap.height() - 1);
    auto* swatch = new QLabel(parent);
    swatch->setPixmap(pixmap);
    return swatch;
}

QLabel* SmallLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 0.9);
    label->setFont(font);
    return label;
}

}  // namespace

QImage ImageOf(const IndexedImage& image) {
    if (image.Empty()) return {};
    QImage out(image.width, image.height, QImage::Format_Indexed8);
    QList<QRgb> colours;
    for (const PaletteColour& colour : image.palette) {
        colours.push_back(qRgb(colour.red, colour.green, colour.blue));
    }
    out.setColorTable(colours);
    for (int32_t y = 0; y < image.height; ++y) {
        std::copy_n(image.pixels.begin() + static_cast<ptrdiff_t>(y) * image.width, image.width,
                    out.scanLine(y));
    }
    return out;
}

PegMapView::PegMapView(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void PegMapView::SetMarked(const QRectF& pixels) {
    if (pixels == marked_) return;
    marked_ = pixels;
    update();
}

void PegMapView::SetMap(QImage map) {
    map_ = std::move(map);
    marked_ = QRectF();
    updateGeometry();
    update();
}

QSize PegMapView::sizeHint() const {
    return QSize(300, heightForWidth(300));
}

QSize PegMapView::minimumSizeHint() const {
    return QSize(120, map_.isNull() ? 0 : 24);
}

int PegMapView::heightForWidth(int width) const {
    if (map_.isNull()) return 0;
    // A very tall map is shown at most about as high as it is wide, twice.
    const int high = (width - 2) * map_.height() / std::max(map_.width(), 1) + 2;
    return std::clamp(high, 12, 2 * width);
}

QRect PegMapView::MapPlace() const {
    if (map_.isNull()) return {};
    const QSize fitted = map_.size().scaled(size() - QSize(2, 2), Qt::KeepAspectRatio);
    if (fitted.isEmpty()) return {};
    return QRect(QPoint((width() - fitted.width()) / 2, 1), fitted);
}

void PegMapView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect place = MapPlace();
    if (place.isEmpty()) return;
    // Cells keep their edges: no smoothing between them.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(place, map_);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(place.adjusted(-1, -1, 0, 0));
    if (!marked_.isEmpty()) {
        // The cell pointed at, outlined in black and white to show on any colour.
        const qreal sx = static_cast<qreal>(place.width()) / map_.width();
        const qreal sy = static_cast<qreal>(place.height()) / map_.height();
        QRectF cell(place.left() + marked_.left() * sx, place.top() + marked_.top() * sy,
                    marked_.width() * sx, marked_.height() * sy);
        cell = cell.adjusted(-1, -1, 1, 1);
        if (cell.width() < 5) cell.adjust(-2, 0, 2, 0);
        if (cell.height() < 5) cell.adjust(0, -2, 0, 2);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Qt::black, 1));
        painter.drawRect(cell);
        painter.setPen(QPen(Qt::white, 1));
        painter.drawRect(cell.adjusted(-1, -1, 1, 1));
    }
}

void PegMapView::mouseMoveEvent(QMouseEvent* event) {
    const QRect place = MapPlace();
    const QPoint at = event->position().toPoint();
    if (place.isEmpty() || !place.contains(at)) {
        emit Pointed(-1, -1);
        return;
    }
    const int x = (at.x() - place.left()) * map_.width() / place.width();
    const int y = (at.y() - place.top()) * map_.height() / place.height();
    emit Pointed(std::clamp(x, 0, map_.width() - 1), std::clamp(y, 0, map_.height() - 1));
}

void PegMapView::leaveEvent(QEvent*) {
    emit Pointed(-1, -1);
}

PegMapPanel::PegMapPanel(QWidget* parent)
    : QWidget(parent),
      title_(new QLabel(this)),
      subtitle_(new QLabel(this)),
      view_(new PegMapView(this)),
      pointed_(new QLabel(this)),
      legend_(new QWidget(this)) {
    QFont bold = title_->font();
    bold.setBold(true);
    title_->setFont(bold);
    title_->setWordWrap(true);
    subtitle_->setWordWrap(true);
    pointed_->setWordWrap(true);
    pointed_->setMinimumHeight(pointed_->fontMetrics().height() * 2);
    pointed_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    // The legend: the land, the strip past a row's last whole cell, and
    // each depth band with objects and without.
    auto* grid = new QGridLayout(legend_);
    grid->setContentsMargins(0, 4, 0, 0);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);
    grid->addWidget(SmallLabel(tr("objects"), legend_), 0, 0, Qt::AlignCenter);
    grid->addWidget(SmallLabel(tr("bare"), legend_), 0, 1, Qt::AlignCenter);
    grid->addWidget(SmallLabel(tr("depth"), legend_), 0, 2);
    int row = 1;
    for (const PegMapDepthBand& band : PegMapDepthScale()) {
        grid->addWidget(Swatch(band.covered, legend_), row, 0, Qt::AlignCenter);
        grid->addWidget(Swatch(band.bare, legend_), row, 1, Qt::AlignCenter);
        grid->addWidget(SmallLabel(DecodeAnsi(band.label), legend_), row, 2);
        ++row;
    }
    grid->addWidget(Swatch(kPegMapLand, legend_), row, 0, Qt::AlignCenter);
    grid->addWidget(SmallLabel(tr("no water"), legend_), row, 1, 1, 2);
    ++row;
    grid->addWidget(Swatch(kPegMapBeyond, legend_), row, 0, Qt::AlignCenter);
    grid->addWidget(SmallLabel(tr("past the row's last whole cell"), legend_), row, 1, 1, 2);
    grid->setColumnStretch(2, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(title_);
    layout->addWidget(subtitle_);
    layout->addWidget(view_);
    layout->addWidget(pointed_);
    layout->addWidget(legend_);
    layout->addStretch(1);

    connect(view_, &PegMapView::Pointed, this, [this](int x, int y) {
        QRectF cell;
        pointed_->setText(x < 0 ? (HasMap() ? tr("Point at the map to see a cell.") : QString())
                                : DescribePixel(x, y, &cell));
        view_->SetMarked(cell);
    });
    ShowNothing();
}

void PegMapPanel::ShowNothing() {
    data_.reset();
    cellSize_.reset();
    view_->SetMap({});
    title_->setText(tr("Peg map"));
    subtitle_->setText(
        tr("Choose a finding of a peg, or click in a peg's section of the report, to see the "
           "peg's map here."));
    pointed_->clear();
    legend_->hide();
}

void PegMapPanel::ShowPeg(const GameFolder& folder, const std::string& name,
                          const std::string& dataFile, float dpRatio) {
    data_.reset();
    cellSize_.reset();
    dpRatio_ = dpRatio;
    view_->SetMap({});
    pointed_->clear();
    title_->setText(DecodeAnsi(name));
    const QString file = DecodeAnsi(dataFile);
    const auto noMap = [this](const QString& why) {
        subtitle_->setText(why);
        legend_->hide();
    };
    if (dataFile.empty() || EqualNoCase(dataFile, kUnknown)) {
        noMap(tr("No map: the peg file names no data file."));
        return;
    }
    if (IsArchivePath(dataFile)) {
        noMap(tr("No map: %1 is inside an archive.").arg(file));
        return;
    }
    // A large grid takes a moment to read and draw.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
    std::optional<std::string> bytes;
    try {
        bytes = folder.ReadFile(dataFile);
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    if (!bytes) {
        noMap(tr("No map: %1 cannot be read.").arg(file));
        return;
    }
    cellSize_ = ReadPegCellSize(*bytes);
    PegData read = ReadPegData(std::move(*bytes));
    if (!read.grid || !cellSize_) {
        noMap(tr("No map: %1 holds no grid that can be laid out.").arg(file));
        return;
    }
    const QImage map = ImageOf(DrawPegMap(*read.grid, *cellSize_, dpRatio));
    if (map.isNull()) {
        noMap(tr("No map: %1 holds no rows.").arg(file));
        return;
    }
    subtitle_->setText(
        tr("%1: %2 by %3 cells").arg(file).arg(read.grid->CellsPerRow()).arg(read.grid->Rows()));
    data_ = std::move(read);
    view_->SetMap(map);
    pointed_->setText(tr("Point at the map to see a cell."));
    legend_->show();
}

QString PegMapPanel::DescribePixel(int x, int y, QRectF* place) const {
    if (!data_ || !data_->grid || !cellSize_ || view_->Map().isNull()) return {};
    const PegDataGrid& grid = *data_->grid;
    const QImage& map = view_->Map();
    // The cell under the pixel's centre, as the map was drawn.
    const uint64_t cellWidth =
        static_cast<uint64_t>(std::clamp(cellSize_->width, 1, kPegGridWidth));
    const uint64_t cellHeight = static_cast<uint64_t>(std::max(cellSize_->height, 1));
    const uint64_t heightUnits = static_cast<uint64_t>(grid.Rows()) * cellHeight;
    const uint64_t column = ((2 * static_cast<uint64_t>(x) + 1) * kPegGridWidth) /
                            (2 * static_cast<uint64_t>(map.width()) * cellWidth);
    const uint64_t row = ((2 * static_cast<uint64_t>(y) + 1) * heightUnits) /
                         (2 * static_cast<uint64_t>(map.height()) * cellHeight);
    if (row >= static_cast<uint64_t>(grid.Rows())) return {};
    if (column >= static_cast<uint64_t>(grid.CellsPerRow())) {
        return tr("Row %1, past its last whole cell").arg(row + 1);
    }
    const PegCell cell =
        grid.Cell(static_cast<size_t>(row) * static_cast<size_t>(grid.CellsPerRow()) +
                  static_cast<size_t>(column));
    if (place != nullptr) {
        const qreal unitsX = static_cast<qreal>(map.width()) / kPegGridWidth;
        const qreal unitsY = static_cast<qreal>(map.height()) / static_cast<qreal>(heightUnits);
        *place =
            QRectF(static_cast<qreal>(column * cellWidth) * unitsX,
                   static_cast<qreal>(row * cellHeight) * unitsY,
                   static_cast<qreal>(cellWidth) * unitsX, static_cast<qreal>(cellHeight) * unitsY);
    }
    QString text = tr("Cell %1 of row %2: ").arg(column + 1).arg(row + 1);
    if (cell.depth == 0) {
        text += tr("no water");
    } else {
        // The product in single precision, as the analysis takes it.
        const float inches = static_cast<float>(cell.depth) * dpRatio_;
        text += tr("%1 deep").arg(DecodeAnsi(FormatDistance(inches)));
    }
    QStringList objects;
    for (int bit = 0; bit < 32; ++bit) {
        if ((cell.mask >> bit) & 1u) objects << QString::number(bit);
    }
    if (!objects.isEmpty()) {
        text += (objects.size() == 1 ? tr(", object %1") : tr(", objects %1"))
                    .arg(objects.join(QStringLiteral(", ")));
    } else if (cell.depth != 0) {
        text += tr(", no object (bare water)");
    }
    return text;
}

}  // namespace venuecheck
