#pragma once

#include "platform/folders.h"
#include "problem_sets/problem_set_library.h"
#include "problem_sets/set_history.h"

#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace kestrum {

class AttemptStore;
class ElidedLabel;
struct AppContext;

// The problem-set window: the sets in the tdcs folder on the left (make, copy, rename, delete,
// choose the current one), the chosen set's title and items on the right, each item checked as
// it is typed with the reason beside it. The rules and the files are ProblemSetLibrary's; a set's
// history follows it through SetHistory. What the right side shows is always the file or the
// learner's unsaved edits, marked as such.
class ProblemSetWindow : public QDialog {
    Q_OBJECT

public:
    ProblemSetWindow(AppContext& context, AttemptStore& attempts, QWidget* parent = nullptr);

    // Asks for the text file to import; tests put their own file here.
    std::function<QString()> chooseImportFile;

signals:
    // The current set changed (chosen, renamed or deleted): the menu's panel follows.
    void currentSetChanged();

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void createControls();
    void connectControls();
    void refreshList(const std::string& select);
    std::string selectedName() const;
    std::string typedName() const;
    void openSelected();
    bool mayDropEdits();
    bool refusedName(const std::string& name);
    void showDocument(const ProblemSetDocument& document);
    void setDirty(bool dirty);
    ProblemSetDocument document() const;
    ProblemItem rowItem(int row) const;
    void appendItem(const ProblemItem& item);
    void checkRow(int row);
    bool report(const LibraryResult& result);

    void newClicked();
    void copyClicked();
    void renameClicked();
    void deleteClicked();
    void chooseClicked();
    void importClicked();
    void saveClicked();

    AppContext& context_;
    DiskFolders folders_;
    ProblemSetLibrary library_;
    SetHistory history_;
    std::string editing_;  // the set shown on the right; empty when none
    bool dirty_ = false;
    bool filling_ = false;  // the controls are being filled, not edited

    QTableWidget* setList;
    QLineEdit* nameEdit;
    QPushButton* newButton;
    QPushButton* copyButton;
    QPushButton* renameButton;
    QPushButton* deleteButton;
    QPushButton* chooseButton;
    ElidedLabel* currentLabel;
    ElidedLabel* editingLabel;
    QLineEdit* titleEdit;
    QTableWidget* itemTable;
    QPushButton* addRowButton;
    QPushButton* removeRowButton;
    QPushButton* importButton;
    QPushButton* saveButton;
    QPushButton* closeButton;
};

}  // namespace kestrum
