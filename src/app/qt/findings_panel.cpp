#include "app/qt/findings_panel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>

#include "app/qt/ansi_text.h"
#include "report/report_pane.h"
#include "report/rules.h"

namespace venuecheck {
namespace {

constexpr std::array<Severity, 3> kSeverities = {Severity::kError, Severity::kWarning,
                                                 Severity::kAdvice};

QColor ColourOf(Severity severity) {
    Rgb rgb = style::kError;
    if (severity == Severity::kWarning) rgb = style::kWarning;
    if (severity == Severity::kAdvice) rgb = style::kAdvice;
    return QColor(rgb.red, rgb.green, rgb.blue);
}

QString SeverityTitle(Severity severity) {
    switch (severity) {
        case Severity::kError:
            return FindingsPanel::tr("Error");
        case Severity::kWarning:
            return FindingsPanel::tr("Warning");
        case Severity::kAdvice:
            return FindingsPanel::tr("Advice");
    }
    return {};
}

QString ToggleText(Severity severity, int count) {
    switch (severity) {
        case Severity::kError:
            return count == 1 ? FindingsPanel::tr("1 error")
                              : FindingsPanel::tr("%1 errors").arg(count);
        case Severity::kWarning:
            return count == 1 ? FindingsPanel::tr("1 warning")
                              : FindingsPanel::tr("%1 warnings").arg(count);
        case Severity::kAdvice:
            return FindingsPanel::tr("%1 advice").arg(count);
    }
    return {};
}

QString Where(const Finding& finding) {
    if (finding.file.empty()) return {};
    QString where = DecodeAnsi(finding.file);
    if (finding.line > 0) where += QLatin1Char(':') + QString::number(finding.line);
    return where;
}

}  // namespace

void FindingsModel::SetFindings(std::vector<ShownFinding> findings) {
    beginResetModel();
    findings_ = std::move(findings);
    endResetModel();
}

const ShownFinding* FindingsModel::At(int row) const {
    if (row < 0 || static_cast<size_t>(row) >= findings_.size()) return nullptr;
    return &findings_[static_cast<size_t>(row)];
}

int FindingsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(findings_.size());
}

int FindingsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant FindingsModel::data(const QModelIndex& index, int role) const {
    const ShownFinding* shown = At(index.row());
    if (shown == nullptr) return {};
    const Finding& f = shown->finding;
    switch (role) {
        case Qt::DisplayRole:
            switch (index.column()) {
                case kSeverity:
                    return SeverityTitle(f.severity);
                case kMessage:
                    return DecodeAnsi(f.message);
                case kWhere:
                    return Where(f);
                case kPeg:
                    return DecodeAnsi(f.peg);
            }
            return {};
        case Qt::DecorationRole:
            if (index.column() == kSeverity) return FindingsPanel::IconOf(f.severity);
            return {};
        case Qt::ForegroundRole:
            if (index.column() == kSeverity) return ColourOf(f.severity);
            return {};
        case Qt::ToolTipRole: {
            const Rule& rule = RuleOf(f.rule);
            QString tip = QStringLiteral("<b>%1</b>: %2")
                              .arg(QString::fromLatin1(rule.id.data(),
                                                       static_cast<qsizetype>(rule.id.size())),
                                   DecodeAnsi(rule.title).toHtmlEscaped());
            if (!f.key.empty()) tip += QStringLiteral("<br>") + DecodeAnsi(f.key).toHtmlEscaped();
            if (!f.stock.empty()) {
                tip += QStringLiteral("<br>") +
                       FindingsPanel::tr("Stock file %1").arg(DecodeAnsi(f.stock).toHtmlEscaped());
            }
            return tip;
        }
    }
    return {};
}

QVariant FindingsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
        case kSeverity:
            return tr("Severity");
        case kMessage:
            return tr("Message");
        case kWhere:
            return tr("File:line");
        case kPeg:
            return tr("Peg");
    }
    return {};
}

void FindingsFilter::SetShown(Severity severity, bool shown) {
    shown_[static_cast<size_t>(severity)] = shown;
    invalidateFilter();
}

void FindingsFilter::SetText(const QString& text) {
    text_ = text.trimmed();
    invalidateFilter();
}

bool FindingsFilter::filterAcceptsRow(int row, const QModelIndex&) const {
    const auto* model = static_cast<const FindingsModel*>(sourceModel());
    const ShownFinding* shown = model->At(row);
    if (shown == nullptr) return false;
    const Finding& f = shown->finding;
    if (!Shown(f.severity)) return false;
    if (text_.isEmpty()) return true;
    const std::string_view id = RuleOf(f.rule).id;
    for (const QString& field :
         {DecodeAnsi(f.message), Where(f), DecodeAnsi(f.peg), DecodeAnsi(f.stock),
          DecodeAnsi(f.key), QString::fromLatin1(id.data(), static_cast<qsizetype>(id.size()))}) {
        if (field.contains(text_, Qt::CaseInsensitive)) return true;
    }
    return false;
}

void FindingsView::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        currentIndex().isValid()) {
        emit OpenRequested(currentIndex());
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

void FindingsView::mouseDoubleClickEvent(QMouseEvent* event) {
    QTreeView::mouseDoubleClickEvent(event);
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid()) emit OpenRequested(index);
}

FindingsPanel::FindingsPanel(QWidget* parent)
    : QWidget(parent),
      model_(new FindingsModel(this)),
      filter_(new FindingsFilter(this)),
      view_(new FindingsView(this)),
      filterBox_(new QLineEdit(this)),
      shownLabel_(new QLabel(this)) {
    filter_->setSourceModel(model_);

    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(0, 0, 0, 0);
    bar->setSpacing(4);
    for (const Severity severity : kSeverities) {
        auto* toggle = new QToolButton(this);
        toggle->setCheckable(true);
        toggle->setChecked(true);
        toggle->setAutoRaise(true);
        toggle->setIcon(IconOf(severity));
        toggle->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        toggle->setText(ToggleText(severity, 0));
        connect(toggle, &QToolButton::toggled, this,
                [this, severity](bool on) { SetShown(severity, on); });
        toggles_[static_cast<size_t>(severity)] = toggle;
        bar->addWidget(toggle);
    }
    bar->addSpacing(8);
    filterBox_->setPlaceholderText(tr("Filter findings (message, file, peg, rule)"));
    filterBox_->setClearButtonEnabled(true);
    connect(filterBox_, &QLineEdit::textChanged, this, [this](const QString& text) {
        filter_->SetText(text);
        UpdateCounts();
    });
    bar->addWidget(filterBox_, 1);
    bar->addWidget(shownLabel_);

    view_->setModel(filter_);
    view_->setRootIsDecorated(false);
    view_->setUniformRowHeights(true);
    view_->setAlternatingRowColors(true);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setContextMenuPolicy(Qt::CustomContextMenu);
    view_->setAllColumnsShowFocus(true);
    QHeaderView* header = view_->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(FindingsModel::kSeverity, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(FindingsModel::kMessage, QHeaderView::Stretch);
    header->setSectionResizeMode(FindingsModel::kWhere, QHeaderView::Interactive);
    header->setSectionResizeMode(FindingsModel::kPeg, QHeaderView::Interactive);
    header->resizeSection(FindingsModel::kWhere, 220);
    header->resizeSection(FindingsModel::kPeg, 140);

    connect(view_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { emit CurrentChanged(Current()); });
    connect(view_, &FindingsView::OpenRequested, this, [this](const QModelIndex& index) {
        if (const ShownFinding* shown = model_->At(filter_->mapToSource(index).row())) {
            emit OpenRequested(*shown);
        }
    });
    connect(view_, &QWidget::customContextMenuRequested, this, [this](const QPoint& point) {
        const QModelIndex index = view_->indexAt(point);
        if (index.isValid()) view_->setCurrentIndex(index);
        emit ContextMenuRequested(view_->viewport()->mapToGlobal(point));
    });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 4, 0, 0);
    layout->setSpacing(4);
    layout->addLayout(bar);
    layout->addWidget(view_, 1);
    UpdateCounts();
}

QIcon FindingsPanel::IconOf(Severity severity) {
    QIcon icon;
    for (const int size : {16, 32}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(ColourOf(severity));
        const qreal margin = size / 8.0;
        painter.drawEllipse(QRectF(margin, margin, size - 2 * margin, size - 2 * margin));
        icon.addPixmap(pixmap);
    }
    return icon;
}

void FindingsPanel::SetFindings(std::vector<ShownFinding> findings) {
    model_->SetFindings(std::move(findings));
    UpdateCounts();
}

void FindingsPanel::SetShown(Severity severity, bool shown) {
    QToolButton* toggle = Toggle(severity);
    if (toggle->isChecked() != shown) {
        toggle->setChecked(shown);  // comes back here through toggled
        return;
    }
    if (filter_->Shown(severity) == shown) return;
    filter_->SetShown(severity, shown);
    UpdateCounts();
    emit ShownChanged(severity, shown);
}

void FindingsPanel::UpdateCounts() {
    FindingCounts counts;
    for (const ShownFinding& shown : model_->Findings()) counts.Add(shown.finding.severity);
    Toggle(Severity::kError)->setText(ToggleText(Severity::kError, counts.errors));
    Toggle(Severity::kWarning)->setText(ToggleText(Severity::kWarning, counts.warnings));
    Toggle(Severity::kAdvice)->setText(ToggleText(Severity::kAdvice, counts.advice));
    for (const Severity severity : kSeverities) {
        Toggle(severity)->setToolTip(Shown(severity) ? tr("Shown: click to hide them")
                                                     : tr("Hidden: click to show them"));
    }
    const int all = model_->rowCount();
    const int shown = filter_->rowCount();
    shownLabel_->setText(shown == all ? QString() : tr("%1 of %2 shown").arg(shown).arg(all));
}

std::vector<int> FindingsPanel::ShownRows() const {
    std::vector<int> rows;
    rows.reserve(static_cast<size_t>(filter_->rowCount()));
    for (int row = 0; row < filter_->rowCount(); ++row) {
        rows.push_back(filter_->mapToSource(filter_->index(row, 0)).row());
    }
    return rows;
}

const ShownFinding* FindingsPanel::Current() const {
    return model_->At(CurrentIndex());
}

int FindingsPanel::CurrentIndex() const {
    const QModelIndex index = view_->currentIndex();
    if (!index.isValid()) return -1;
    return filter_->mapToSource(index).row();
}

bool FindingsPanel::SelectFinding(int index) {
    const QModelIndex shown = filter_->mapFromSource(model_->index(index, 0));
    if (!shown.isValid()) return false;
    view_->setCurrentIndex(shown);
    view_->scrollTo(shown);
    return true;
}

void FindingsPanel::Step(int direction) {
    const int rows = filter_->rowCount();
    if (rows == 0) return;
    const QModelIndex current = view_->currentIndex();
    int row = current.isValid() ? current.row() + direction : (direction > 0 ? 0 : rows - 1);
    row = (row % rows + rows) % rows;
    const QModelIndex next = filter_->index(row, 0);
    view_->setCurrentIndex(next);
    view_->scrollTo(next);
}

}  // namespace venuecheck
