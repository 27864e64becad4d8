#include "ui/main/about_dialog.h"

#include <QApplication>
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "ui/qt_form_widgets.h"

namespace coldroom {

QString AboutText() {
    return QStringLiteral(
        "ColdRoom рассчитывает теплопритоки в охлаждаемое помещение: через стены, потолок и пол "
        "с учетом солнечной радиации, от охлаждения и замораживания продуктов и упаковки, "
        "теплоту дыхания продуктов и теплопритоки при эксплуатации, а также требуемую "
        "холодопроизводительность холодильной установки и время охлаждения продукта.\n\n"
        "Справочные данные (технологические задачи, продукты, материалы изоляции, места "
        "расположения, упаковка, покрытия и расчетные параметры) поставляются с программой в "
        "файле Data.dtx. Команда «Параметры расчета» изменяет их копию в папке данных "
        "пользователя; изменения действуют после перезапуска программы.\n\n"
        "Результаты расчета — инженерная оценка. Их должен проверить инженер, "
        "отвечающий за проект.");
}

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutSc"));
    setWindowTitle(QStringLiteral("О программе"));
    setModal(false);

    auto* nameBox = new QWidget(this);
    shade_ = new QLabel(QStringLiteral("ColdRoom"), nameBox);
    shade_->setObjectName(QStringLiteral("Label3"));
    name_ = new QLabel(QStringLiteral("ColdRoom"), nameBox);
    name_->setObjectName(QStringLiteral("Label1"));
    QFont big = name_->font();
    big.setPointSizeF(big.pointSizeF() * 1.8);
    big.setBold(true);
    for (QLabel* label : {shade_, name_}) {
        label->setTextFormat(Qt::PlainText);
        label->setFont(big);
    }
    shade_->setStyleSheet(QStringLiteral("color: #9aa3b5;"));
    // Both in one cell, the shade two pixels down and right, the name in front.
    auto* names = new QGridLayout(nameBox);
    names->setContentsMargins(0, 0, 0, 0);
    names->addWidget(shade_, 0, 0);
    names->addWidget(name_, 0, 0);
    shade_->setContentsMargins(2, 2, 0, 0);
    name_->setContentsMargins(0, 0, 2, 2);
    name_->raise();

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
    heading->addWidget(nameBox);
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

AboutDialog* ShowAbout(QPointer<AboutDialog>& box, QWidget* parent) {
    if (!box) {
        box = new AboutDialog(parent);
        box->setAttribute(Qt::WA_DeleteOnClose);
    }
    BringToFront(*box);
    return box;
}

}  // namespace coldroom
