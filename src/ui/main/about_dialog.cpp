#include "ui/main/about_dialog.h"

#include <QApplication>
#include <QFont>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace coldroom {

namespace {

QPointer<AboutDialog> g_about;

}  // namespace

QString AboutText() {
    return QStringLiteral(
        "ColdRoom рассчитывает теплопритоки в охлаждаемое помещение: через стены, потолок и пол "
        "с учетом солнечной радиации, от охлаждения и замораживания продуктов и упаковки, "
        "теплоту дыхания продуктов и теплопритоки при эксплуатации, а также требуемую "
        "холодопроизводительность холодильной установки и время охлаждения продукта.\n\n"
        "Справочные данные (технологические задачи, продукты, материалы изоляции, места "
        "расположения, упаковка, покрытия и расчетные параметры) хранятся в файле Data.dtx "
        "в папке программы. Их можно изменить командой «Параметры расчета»; изменения "
        "действуют после перезапуска программы.\n\n"
        "Результаты расчета — инженерная оценка. Их должен проверить инженер, "
        "отвечающий за проект.");
}

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutSc"));
    setWindowTitle(QStringLiteral("О программе"));
    setModal(false);

    name_ = new QLabel(QStringLiteral("ColdRoom"), this);
    name_->setObjectName(QStringLiteral("Label1"));
    name_->setTextFormat(Qt::PlainText);
    QFont big = name_->font();
    big.setPointSizeF(big.pointSizeF() * 1.8);
    big.setBold(true);
    name_->setFont(big);

    version_ = new QLabel(QStringLiteral("   Версия ") + QStringLiteral(COLDROOM_VERSION), this);
    version_->setObjectName(QStringLiteral("Label2"));
    version_->setTextFormat(Qt::PlainText);
    version_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    text_ = new QPlainTextEdit(AboutText(), this);
    text_->setObjectName(QStringLiteral("Text1"));
    text_->setReadOnly(true);
    text_->setMinimumSize(470, 240);
    text_->setLineWrapMode(QPlainTextEdit::WidgetWidth);

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("Command1"));
    ok_->setDefault(true);
    ok_->setMinimumWidth(90);
    connect(ok_, &QPushButton::clicked, this, &QDialog::close);

    auto* heading = new QVBoxLayout;
    heading->setSpacing(2);
    heading->addWidget(name_);
    heading->addWidget(version_);

    auto* top = new QHBoxLayout;
    top->setSpacing(14);
    QIcon icon = parent ? parent->window()->windowIcon() : QApplication::windowIcon();
    if (icon.isNull()) icon = QApplication::windowIcon();
    if (icon.isNull()) icon = style()->standardIcon(QStyle::SP_MessageBoxInformation);
    if (!icon.isNull()) {
        auto* picture = new QLabel(this);
        picture->setObjectName(QStringLiteral("Image1"));
        picture->setPixmap(icon.pixmap(48, 48));
        picture->setAlignment(Qt::AlignTop);
        top->addWidget(picture);
    }
    top->addLayout(heading);
    top->addStretch(1);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(ok_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 12);
    layout->setSpacing(10);
    layout->addLayout(top);
    layout->addWidget(text_, 1);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    ok_->setFocus();
}

AboutDialog* ShowAbout(QWidget* parent) {
    if (!g_about) {
        g_about = new AboutDialog(parent);
        g_about->setAttribute(Qt::WA_DeleteOnClose);
    }
    g_about->show();
    g_about->raise();
    g_about->activateWindow();
    return g_about;
}

}  // namespace coldroom
