#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace kestrum {

class Screen;
class BevelPanel;

// The version dialog: the product name and version beside the program's icon, and OK.
class VersionDialog : public QDialog {
    Q_OBJECT

public:
    explicit VersionDialog(const Screen& screen, QWidget* parent = nullptr);

    // "ケストラムLite Ver 2.01".
    QString versionText() const;

private:
    BevelPanel* Panel_version;
    QLabel* Image1;
    QLabel* Label_version;
    QPushButton* BitBtn1;
};

}  // namespace kestrum
