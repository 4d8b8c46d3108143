#pragma once

#include <QAbstractTableModel>
#include <QLabel>
#include <QLineEdit>
#include <QSortFilterProxyModel>
#include <QToolButton>
#include <QTreeView>
#include <QWidget>
#include <array>
#include <vector>

#include "report/finding.h"

namespace venuecheck {

// A finding of the shown check run and the report line that writes it.
struct ShownFinding {
    Finding finding;
    int position = 0;  // where its line starts in the pane's document
};

// The findings of the shown check run, one row each, in report order.
class FindingsModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { kSeverity, kMessage, kWhere, kPeg, kColumns };

    using QAbstractTableModel::QAbstractTableModel;

    void SetFindings(std::vector<ShownFinding> findings);
    const std::vector<ShownFinding>& Findings() const { return findings_; }
    const ShownFinding* At(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<ShownFinding> findings_;
};

// The rows of the severities shown that hold the filter text (without
// regard to case) in their message, file, peg, stock file, key or rule id.
class FindingsFilter : public QSortFilterProxyModel {
    Q_OBJECT

public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void SetShown(Severity severity, bool shown);
    bool Shown(Severity severity) const { return shown_[static_cast<size_t>(severity)]; }
    void SetText(const QString& text);

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override;

private:
    std::array<bool, 3> shown_ = {true, true, true};
    QString text_;
};

// The findings list: Enter and a double-click ask for the finding's file.
class FindingsView : public QTreeView {
    Q_OBJECT

public:
    using QTreeView::QTreeView;

signals:
    void OpenRequested(const QModelIndex& index);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

// The findings panel: a toggle for each severity with its count, a filter
// box, and the list.
class FindingsPanel : public QWidget {
    Q_OBJECT

public:
    explicit FindingsPanel(QWidget* parent = nullptr);

    void SetFindings(std::vector<ShownFinding> findings);
    const std::vector<ShownFinding>& Findings() const { return model_->Findings(); }

    void SetShown(Severity severity, bool shown);
    bool Shown(Severity severity) const { return filter_->Shown(severity); }
    QToolButton* Toggle(Severity severity) const { return toggles_[static_cast<size_t>(severity)]; }
    QLineEdit* FilterBox() const { return filterBox_; }
    FindingsView* View() const { return view_; }
    // The rows shown, in order, as indexes into Findings().
    std::vector<int> ShownRows() const;

    // The finding of the current row; null when there is none.
    const ShownFinding* Current() const;
    int CurrentIndex() const;  // into Findings(); -1 for none
    // Makes the finding current when its row is shown; false otherwise.
    bool SelectFinding(int index);
    // The next or the previous row shown, wrapping round.
    void Step(int direction);

    // The severity's icon: a disc in the report's colour of the severity.
    static QIcon IconOf(Severity severity);

signals:
    // The current finding changed (null: none is current).
    void CurrentChanged(const ShownFinding* finding);
    void OpenRequested(const ShownFinding& finding);
    void ShownChanged(Severity severity, bool shown);
    void ContextMenuRequested(const QPoint& globalPosition);

private:
    void UpdateCounts();

    FindingsModel* model_;
    FindingsFilter* filter_;
    FindingsView* view_;
    std::array<QToolButton*, 3> toggles_{};
    QLineEdit* filterBox_;
    QLabel* shownLabel_;
};

}  // namespace venuecheck
