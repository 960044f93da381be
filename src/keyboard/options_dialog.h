#pragma once

#include "keyboard/options_logic.h"

#include <QDialog>

#include <array>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;

namespace kestrum {

struct AppContext;
class BevelPanel;

// The options dialog. Every showing fills the controls from the settings record (fitting the
// keyboard size to the screen); OK writes them back; Cancel, Escape and the close box write
// nothing. The settings file is not touched here.
class OptionsDialog : public QDialog {
    Q_OBJECT

public:
    explicit OptionsDialog(AppContext& context, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    int widenToFit();
    void FormShow();
    void BitBtn1Click();
    OptionsControls controls() const;

    AppContext& context_;
    BevelPanel* Panel1;
    QGroupBox* radio_guide;
    QButtonGroup* guideItems_;
    QGroupBox* GroupBox1;
    std::array<QRadioButton*, 4> sizeButtons_;  // indexed by SizeButton
    QGroupBox* radio_sound;
    QButtonGroup* soundItems_;
    QGroupBox* radio_letter_type;
    QButtonGroup* letterTypeItems_;
    QCheckBox* chk_distinct_shift;
    QCheckBox* chk_distinct;
    QCheckBox* chk_romaji_spellings;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
};

}  // namespace kestrum
