#include "problem_sets/problem_set_window.h"

#include "menu/problem_set_reader.h"
#include "problem_sets/elided_label_widget.h"
#include "widgets/app_context.h"
#include "widgets/ui_fonts.h"
#include "widgets/window_frame.h"

#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kestrum {

namespace {

enum Column { kTextColumn, kCommentColumn, kReasonColumn };

const QColor kRefusedText(255, 210, 210);

const QString kTextHint = QStringLiteral("問題文に使えるのは半角の英数字、空白と , . / ; - です");

// Return confirms the field it is in and presses no button: none is the window's default.
QPushButton* button(const QString& caption, const char* objectName) {
    auto* result = new QPushButton(caption);
    result->setObjectName(QString::fromLatin1(objectName));
    result->setAutoDefault(false);
    return result;
}

// A table that Tab leaves, whether a cell is being edited or not: arrow keys move between its
// cells, and F2 or typing edits one, as in the list views learners know.
class CellTable : public QTableWidget {
public:
    using QTableWidget::QTableWidget;

protected:
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override {
        const bool onward = hint == QAbstractItemDelegate::EditNextItem;
        if (!onward && hint != QAbstractItemDelegate::EditPreviousItem) {
            QTableWidget::closeEditor(editor, hint);
            return;
        }
        QTableWidget::closeEditor(editor, QAbstractItemDelegate::NoHint);
        focusNextPrevChild(onward);
    }
};

QTableWidget* table(const QStringList& headers, const char* objectName) {
    auto* result = new CellTable(0, static_cast<int>(headers.size()));
    result->setObjectName(QString::fromLatin1(objectName));
    result->setTabKeyNavigation(false);
    result->setHorizontalHeaderLabels(headers);
    result->verticalHeader()->setDefaultSectionSize(22);
    result->horizontalHeader()->setStretchLastSection(true);
    return result;
}

QTableWidgetItem* readOnlyCell(const QString& text) {
    auto* cell = new QTableWidgetItem(text);
    cell->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return cell;
}

QString cellText(const QTableWidget* table, int row, int column) {
    const QTableWidgetItem* cell = table->item(row, column);
    return cell != nullptr ? cell->text() : QString();
}

}  // namespace

ProblemSetWindow::ProblemSetWindow(AppContext& context, ScoreFile& scores, AttemptStore& attempts,
                                   QWidget* parent)
    : QDialog(parent),
      context_(context),
      library_(context.files, folders_, context.dataDir),
      history_(scores, attempts),
      setList(table({QStringLiteral("名前"), QStringLiteral("タイトル"), QStringLiteral("問題数")},
                    "setList")),
      nameEdit(new QLineEdit),
      newButton(button(QStringLiteral("新規作成(&N)"), "newButton")),
      copyButton(button(QStringLiteral("コピー(&P)"), "copyButton")),
      renameButton(button(QStringLiteral("名前の変更(&R)"), "renameButton")),
      deleteButton(button(QStringLiteral("削除(&E)"), "deleteButton")),
      chooseButton(button(QStringLiteral("この問題集で練習する(&U)"), "chooseButton")),
      currentLabel(new ElidedLabel),
      editingLabel(new ElidedLabel),
      titleEdit(new QLineEdit),
      itemTable(table({QStringLiteral("問題文（半角25字まで）"), QStringLiteral("コメント"),
                       QStringLiteral("確認")},
                      "itemTable")),
      addRowButton(button(QStringLiteral("行を追加(&A)"), "addRowButton")),
      removeRowButton(button(QStringLiteral("行を削除(&X)"), "removeRowButton")),
      importButton(button(QStringLiteral("テキストから読み込む(&I)..."), "importButton")),
      saveButton(button(QStringLiteral("保存(&S)"), "saveButton")),
      closeButton(button(QStringLiteral("閉じる(&C)"), "closeButton")) {
    setWindowTitle(QStringLiteral("問題集設定"));
    setFont(pixelFont(FontFace::PGothic, 13));
    nameEdit->setObjectName(QStringLiteral("nameEdit"));
    titleEdit->setObjectName(QStringLiteral("titleEdit"));
    currentLabel->setObjectName(QStringLiteral("currentLabel"));
    editingLabel->setObjectName(QStringLiteral("editingLabel"));
    chooseImportFile = [this] {
        return QFileDialog::getOpenFileName(this, QStringLiteral("読み込むテキストファイル"), {},
                                            QStringLiteral("テキストファイル (*.txt);;すべて (*)"));
    };
    createControls();
    connectControls();
    fitAndCentre(*this, {1000, 540}, context.screen.metrics());
}

void ProblemSetWindow::createControls() {
    setList->setSelectionBehavior(QAbstractItemView::SelectRows);
    setList->setSelectionMode(QAbstractItemView::SingleSelection);
    setList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    itemTable->setEditTriggers(QAbstractItemView::DoubleClicked |
                               QAbstractItemView::EditKeyPressed |
                               QAbstractItemView::AnyKeyPressed);
    setList->setColumnWidth(0, 100);
    setList->setColumnWidth(1, 170);
    itemTable->setColumnWidth(kTextColumn, 180);
    itemTable->setColumnWidth(kCommentColumn, 160);
    nameEdit->setPlaceholderText(QStringLiteral("新しい名前"));

    auto* setButtons = new QGridLayout;
    setButtons->addWidget(newButton, 0, 0);
    setButtons->addWidget(copyButton, 0, 1);
    setButtons->addWidget(renameButton, 1, 0);
    setButtons->addWidget(deleteButton, 1, 1);
    auto* nameRow = new QFormLayout;
    nameRow->addRow(QStringLiteral("名前(&M):"), nameEdit);
    auto* listLabel = new QLabel(QStringLiteral("tdcs フォルダの問題集(&L)"));
    listLabel->setBuddy(setList);
    auto* left = new QVBoxLayout;
    left->addWidget(listLabel);
    left->addWidget(setList);
    left->addLayout(nameRow);
    left->addLayout(setButtons);
    left->addWidget(chooseButton);
    left->addWidget(currentLabel);

    auto* titleRow = new QFormLayout;
    titleRow->addRow(QStringLiteral("タイトル(&T):"), titleEdit);
    auto* itemsLabel = new QLabel(QStringLiteral("問題(&Q)（F2 か文字の入力で編集）"));
    itemsLabel->setBuddy(itemTable);
    auto* itemButtons = new QHBoxLayout;
    for (QPushButton* itemButton : {addRowButton, removeRowButton, importButton, saveButton})
        itemButtons->addWidget(itemButton);
    auto* closeRow = new QHBoxLayout;
    closeRow->addStretch();
    closeRow->addWidget(closeButton);
    auto* right = new QVBoxLayout;
    right->addWidget(editingLabel);
    right->addLayout(titleRow);
    right->addWidget(itemsLabel);
    right->addWidget(itemTable);
    right->addLayout(itemButtons);
    right->addLayout(closeRow);

    auto* columns = new QHBoxLayout(this);
    columns->addLayout(left, 4);
    columns->addLayout(right, 6);
}

void ProblemSetWindow::connectControls() {
    connect(setList, &QTableWidget::itemSelectionChanged, this, &ProblemSetWindow::openSelected);
    connect(newButton, &QPushButton::clicked, this, &ProblemSetWindow::newClicked);
    connect(copyButton, &QPushButton::clicked, this, &ProblemSetWindow::copyClicked);
    connect(renameButton, &QPushButton::clicked, this, &ProblemSetWindow::renameClicked);
    connect(deleteButton, &QPushButton::clicked, this, &ProblemSetWindow::deleteClicked);
    connect(chooseButton, &QPushButton::clicked, this, &ProblemSetWindow::chooseClicked);
    connect(importButton, &QPushButton::clicked, this, &ProblemSetWindow::importClicked);
    connect(saveButton, &QPushButton::clicked, this, &ProblemSetWindow::saveClicked);
    connect(closeButton, &QPushButton::clicked, this, &ProblemSetWindow::reject);
    connect(addRowButton, &QPushButton::clicked, this, [this] {
        appendItem({});
        itemTable->setCurrentCell(itemTable->rowCount() - 1, kTextColumn);
        itemTable->setFocus();
    });
    connect(removeRowButton, &QPushButton::clicked, this, [this] {
        if (itemTable->currentRow() < 0) return;
        itemTable->removeRow(itemTable->currentRow());
        setDirty(true);
    });
    connect(titleEdit, &QLineEdit::textEdited, this, [this] { setDirty(true); });
    connect(itemTable, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* cell) {
        if (filling_ || cell->column() == kReasonColumn) return;
        setDirty(true);
        checkRow(cell->row());
    });
}

void ProblemSetWindow::showEvent(QShowEvent* event) {
    refreshList(editing_.empty() ? cp932ToUtf8(context_.settings.problem_set_name) : editing_);
    QDialog::showEvent(event);
}

void ProblemSetWindow::reject() {
    if (mayDropEdits()) QDialog::reject();
}

// Fills the list and selects `select` (which opens it) when it is there.
void ProblemSetWindow::refreshList(const std::string& select) {
    const QString current = fromCp932(context_.settings.problem_set_name);
    currentLabel->setFullText(QStringLiteral("練習する問題集: ") +
                              (current.isEmpty() ? QStringLiteral("（なし）") : current));
    const std::vector<ProblemSetEntry> entries = library_.list();
    filling_ = true;
    setList->clearSelection();
    setList->setRowCount(static_cast<int>(entries.size()));
    int selectRow = -1;
    for (int row = 0; row < setList->rowCount(); ++row) {
        const ProblemSetEntry& entry = entries[static_cast<std::size_t>(row)];
        setList->setItem(row, 0, readOnlyCell(QString::fromStdString(entry.name)));
        setList->setItem(row, 1, readOnlyCell(fromCp932(entry.title)));
        setList->setItem(row, 2, readOnlyCell(QString::number(entry.itemCount)));
        if (entry.name == select) selectRow = row;
    }
    filling_ = false;
    if (selectRow >= 0) {
        setList->selectRow(selectRow);
    } else {
        editing_.clear();
        showDocument({});
    }
}

std::string ProblemSetWindow::selectedName() const {
    const QList<QTableWidgetItem*> selected = setList->selectedItems();
    return selected.isEmpty() ? std::string()
                              : cellText(setList, selected.front()->row(), 0).toStdString();
}

std::string ProblemSetWindow::typedName() const {
    return storedSetName(nameEdit->text().toStdString());
}

void ProblemSetWindow::openSelected() {
    const std::string name = selectedName();
    if (filling_ || name.empty() || name == editing_) return;
    if (!mayDropEdits()) {
        refreshList(editing_);
        return;
    }
    editing_ = name;
    nameEdit->setText(QString::fromStdString(name));
    showDocument(library_.load(name));
}

// Discarded edits are gone: the set is shown again as its file holds it.
bool ProblemSetWindow::mayDropEdits() {
    if (!dirty_) return true;
    if (!context_.messages.confirm(
            infoMessage("「" + editing_ + "」の変更を保存していません。変更を捨てますか？"))) {
        return false;
    }
    showDocument(library_.load(editing_));
    return true;
}

// Shows why a new set cannot have this name, before any edits are dropped for it.
bool ProblemSetWindow::refusedName(const std::string& name) {
    const std::optional<std::string> problem = library_.newNameProblem(name);
    if (problem) context_.messages.show(infoMessage(*problem));
    return problem.has_value();
}

void ProblemSetWindow::setDirty(bool dirty) {
    dirty_ = dirty;
    const QString name = QString::fromStdString(editing_);
    editingLabel->setFullText(editing_.empty()
                                  ? QStringLiteral("問題集を選ぶか新しく作ってください")
                              : dirty ? QStringLiteral("編集中: %1（未保存の変更あり）").arg(name)
                                      : QStringLiteral("編集中: %1").arg(name));
}

void ProblemSetWindow::showDocument(const ProblemSetDocument& document) {
    titleEdit->setText(fromCp932(document.title));
    itemTable->setRowCount(0);
    for (const ProblemItem& item : document.items)
        appendItem(item);
    for (QWidget* control : std::initializer_list<QWidget*>{
             titleEdit, itemTable, addRowButton, removeRowButton, importButton, saveButton}) {
        control->setEnabled(!editing_.empty());
    }
    setDirty(false);
}

ProblemSetDocument ProblemSetWindow::document() const {
    ProblemSetDocument result{trimmedCp932(titleEdit->text().toStdString()), {}};
    for (int row = 0; row < itemTable->rowCount(); ++row) {
        ProblemItem item = rowItem(row);
        if (!isBlank(item)) result.items.push_back(std::move(item));
    }
    return result;
}

ProblemItem ProblemSetWindow::rowItem(int row) const {
    return typedItem(cellText(itemTable, row, kTextColumn).toStdString(),
                     cellText(itemTable, row, kCommentColumn).toStdString());
}

void ProblemSetWindow::appendItem(const ProblemItem& item) {
    const int row = itemTable->rowCount();
    filling_ = true;
    itemTable->insertRow(row);
    itemTable->setItem(row, kTextColumn, new QTableWidgetItem(fromCp932(item.text)));
    itemTable->setItem(row, kCommentColumn, new QTableWidgetItem(fromCp932(item.comment)));
    itemTable->setItem(row, kReasonColumn, readOnlyCell({}));
    filling_ = false;
    checkRow(row);
}

// The reason stands beside the row, whole in its tool tip, and the cell at fault is marked.
void ProblemSetWindow::checkRow(int row) {
    const std::optional<RowFault> fault = rowFault(rowItem(row));
    const int faulty =
        fault && fault->part == RowFault::Part::Comment ? kCommentColumn : kTextColumn;
    const QString shown = fault ? QString::fromStdString(fault->reason) : QString();
    filling_ = true;
    QTableWidgetItem* reasonCell = itemTable->item(row, kReasonColumn);
    reasonCell->setText(shown);
    reasonCell->setForeground(Qt::red);
    reasonCell->setToolTip(fault && faulty == kTextColumn ? shown + u'\n' + kTextHint : shown);
    for (const int column : {kTextColumn, kCommentColumn}) {
        const bool atFault = fault && column == faulty;
        itemTable->item(row, column)->setBackground(atFault ? QBrush(kRefusedText) : QBrush());
        itemTable->item(row, column)->setToolTip(atFault ? reasonCell->toolTip() : QString());
    }
    filling_ = false;
}

bool ProblemSetWindow::report(const LibraryResult& result) {
    context_.messages.showAll(result.messages);
    return result.ok;
}

void ProblemSetWindow::newClicked() {
    const std::string name = typedName();
    if (refusedName(name) || !mayDropEdits()) return;
    if (report(library_.create(name))) refreshList(name);
}

void ProblemSetWindow::copyClicked() {
    const std::string from = selectedName();
    const std::string to = typedName();
    if (from.empty() || refusedName(to) || !mayDropEdits()) return;
    if (report(library_.copy(from, to))) refreshList(to);
}

// The set keeps its unsaved edits under its new name, and its history goes with it.
void ProblemSetWindow::renameClicked() {
    const std::string from = selectedName();
    const std::string to = typedName();
    if (from.empty() || refusedName(to)) return;
    if (history_.exists(to) &&
        !context_.messages.confirm(
            infoMessage("「" + to + "」には、前にあった問題集の成績が残っています。「" + from +
                        "」の成績で置き換えますか？（キャンセルすると名前を変えません）"))) {
        return;
    }
    const Bytes current = context_.settings.problem_set_name;
    if (report(library_.rename(from, to, context_.settings))) {
        context_.messages.showAll(history_.move(from, to));
        if (editing_ == from) editing_ = to;
        refreshList(to);
        setDirty(dirty_);
    }
    if (context_.settings.problem_set_name != current) emit currentSetChanged();
}

// The history is kept unless the learner asks to erase it (a box's default is Cancel).
void ProblemSetWindow::deleteClicked() {
    const std::string name = selectedName();
    if (name.empty() ||
        !context_.messages.confirm(infoMessage("問題集「" + name + "」を削除しますか？"))) {
        return;
    }
    const bool eraseHistory =
        history_.exists(name) &&
        context_.messages.confirm(infoMessage(
            "「" + name + "」の成績の記録も消しますか？（キャンセルすると記録を残します）"));
    const Bytes current = context_.settings.problem_set_name;
    if (report(library_.remove(name, context_.settings))) {
        if (eraseHistory) context_.messages.showAll(history_.erase(name));
        refreshList({});
    }
    if (context_.settings.problem_set_name != current) emit currentSetChanged();
}

// What is on the screen is what the learner means to practise: unsaved edits are saved first.
void ProblemSetWindow::chooseClicked() {
    const std::string name = selectedName();
    if (name.empty()) return;
    if (dirty_ && name == editing_ && !report(library_.save(editing_, document()))) return;
    setDirty(false);
    if (report(library_.choose(name, context_.settings))) emit currentSetChanged();
    refreshList(name);
}

void ProblemSetWindow::importClicked() {
    const QString path = chooseImportFile();
    if (path.isEmpty()) return;
    const std::size_t most = kMaxProblemItems;
    const std::size_t held = document().items.size();
    const std::size_t room = held < most ? most - held : 0;
    const ImportedItems imported = importProblemFile(context_.files, path.toStdString(), room);
    context_.messages.showAll(imported.messages);
    if (imported.items.empty()) return;
    for (const ProblemItem& item : imported.items)
        appendItem(item);
    setDirty(true);
}

void ProblemSetWindow::saveClicked() {
    if (editing_.empty()) return;
    if (!report(library_.save(editing_, document()))) return;
    const std::string saved = editing_;
    setDirty(false);
    editing_.clear();  // reopened from the file just written
    refreshList(saved);
}

}  // namespace kestrum
