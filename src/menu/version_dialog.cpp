#include "menu/version_dialog.h"

#include "platform/screen.h"
#include "widgets/bevel_panel_widget.h"
#include "widgets/glyph_icon.h"
#include "widgets/resource_picture.h"
#include "widgets/ui_fonts.h"
#include "widgets/window_frame.h"

#include <QApplication>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace kestrum {

namespace {

constexpr const char* kProductTitle = "ケストラムLite";
constexpr const char* kVersion = "Ver 2.01";

}  // namespace

VersionDialog::VersionDialog(const Screen& screen, const std::filesystem::path& dataDir,
                             QWidget* parent)
    : QDialog(parent),
      Panel_version(new BevelPanel(this)),
      Image1(new QLabel(Panel_version)),
      Label_version(new QLabel(Panel_version)),
      Label_data(new QLabel(Panel_version)),
      BitBtn1(new QPushButton(this)) {
    setWindowTitle(QStringLiteral("バージョン情報"));
    setFont(pixelFont(FontFace::PGothic, 12));

    Panel_version->setGeometry(8, 8, 289, 105);
    Panel_version->setBevelOuter(BevelPanel::Bevel::Lowered);
    Panel_version->setBevelWidth(3);
    Panel_version->setColor(palette().color(QPalette::Window));

    Image1->setGeometry(40, 16, 32, 32);
    Image1->setAccessibleName(QStringLiteral("ケストラムLiteのアイコン"));
    Image1->setPixmap(programIcon().pixmap(QSize(32, 32), qApp->devicePixelRatio()));

    Label_version->move(80, 24);
    Label_version->setFont(pixelFont(FontFace::PGothic, 16, FontStyle::Bold));
    QPalette blue = Label_version->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    Label_version->setPalette(blue);
    Label_version->setText(QString::fromUtf8(kProductTitle) + QLatin1Char(' ') +
                           QString::fromUtf8(kVersion));
    Label_version->adjustSize();

    // Under the title, so that a learner can find and back up their files; a long path wraps at
    // its separators.
    Label_data->setGeometry(12, 54, 265, 46);
    Label_data->setWordWrap(true);
    Label_data->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Label_data->setObjectName(QStringLiteral("Label_data"));
    const QString folder = QString::fromStdString(dataDir.string());
    Label_data->setText(QStringLiteral("データの保存先: ") +
                        QString(folder).replace(QLatin1Char('/'), QStringLiteral("/\u200b")));

    BitBtn1->setGeometry(224, 120, 73, 25);
    BitBtn1->setText(QStringLiteral("OK"));
    BitBtn1->setIcon(glyphIcon(Glyph::Ok));
    BitBtn1->setDefault(true);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);

    fixAndCentre(*this, 302, 151, screen.metrics());
}

QString VersionDialog::versionText() const {
    return Label_version->text();
}

QString VersionDialog::dataDirText() const {
    return Label_data->text().remove(QChar(0x200B));
}

}  // namespace kestrum
