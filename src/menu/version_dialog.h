#pragma once

#include <QDialog>

#include <filesystem>

class QLabel;
class QPushButton;

namespace kestrum {

class Screen;
class BevelPanel;

// The version dialog: the product name and version beside the program's icon, the folder that
// holds the learner's files, and OK.
class VersionDialog : public QDialog {
    Q_OBJECT

public:
    VersionDialog(const Screen& screen, const std::filesystem::path& dataDir,
                  QWidget* parent = nullptr);

    // "ケストラムLite Ver 2.01".
    QString versionText() const;
    // "データの保存先: " and the folder.
    QString dataDirText() const;

private:
    BevelPanel* Panel_version;
    QLabel* Image1;
    QLabel* Label_version;
    QLabel* Label_data;
    QPushButton* BitBtn1;
};

}  // namespace kestrum
