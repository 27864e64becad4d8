// The help viewer and the About box on the offscreen platform.
#include <gtest/gtest.h>

#include "qt_test_app.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>

#include "ui/main/about_dialog.h"
#include "ui/main/help_window.h"

namespace coldroom {
namespace {

QApplication& app() { return test::TestApplication(); }

QString sourcePage() { return QStringLiteral(COLDROOM_TEST_DATA "/../../help/coldroom-help.html"); }

void settle() {
    for (int i = 0; i < 3; ++i) app().processEvents();
}

QSet<QString> documentAnchors(const QTextDocument& doc) {
    QSet<QString> names;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        for (const QString& n : b.charFormat().anchorNames()) names.insert(n);
        for (auto it = b.begin(); !it.atEnd(); ++it)
            for (const QString& n : it.fragment().charFormat().anchorNames()) names.insert(n);
    }
    return names;
}

// Answers the next modal message box, remembering what it said.
struct MessageBoxCatcher {
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool seen = false;
    void arm() {
        QTimer::singleShot(0, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                seen = true;
                text = box->text();
                icon = box->icon();
                box->accept();
            }
        });
    }
};

TEST(AboutBox, ShowsNameAndVersionAndClosesOnOk) {
    app();
    QPointer<AboutDialog> box;
    AboutDialog* about = ShowAbout(box);
    ASSERT_NE(about, nullptr);
    settle();
    EXPECT_EQ(about->objectName(), "AboutSc");
    EXPECT_EQ(about->windowTitle(), QStringLiteral("О программе"));
    EXPECT_FALSE(about->isModal());
    EXPECT_TRUE(about->isVisible());
    EXPECT_EQ(about->nameLabel()->text(), "ColdRoom");
    EXPECT_EQ(about->nameShadeLabel()->text(), "ColdRoom");
    EXPECT_EQ(about->versionLabel()->text(), QStringLiteral("   Версия " COLDROOM_VERSION));
    EXPECT_FALSE(QString(COLDROOM_VERSION).isEmpty());

    auto* text = about->findChild<QPlainTextEdit*>("Text1");
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->isReadOnly());
    EXPECT_TRUE(text->toPlainText().contains("Data.dtx"));
    auto* ok = about->findChild<QPushButton*>("Command1");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), "OK");

    // A second request while it is open brings back the same box.
    EXPECT_EQ(ShowAbout(box), about);

    QPointer<AboutDialog> guard(about);
    ok->click();
    EXPECT_FALSE(about->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(guard.isNull());
    EXPECT_TRUE(box.isNull());
    // After closing, the next request makes a fresh box.
    AboutDialog* again = ShowAbout(box);
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(again->isVisible());
    again->close();
}

TEST(HelpWindow, OpensThePageAtItsContents) {
    app();
    HelpWindow help;
    QString error;
    ASSERT_TRUE(help.openPage(sourcePage(), &error)) << error.toStdString();
    help.show();
    settle();

    EXPECT_EQ(help.windowTitle(), QStringLiteral("Справка — ColdRoom"));
    QTextBrowser* b = help.browser();
    // The title and headings read back as Cyrillic, not as mis-decoded bytes.
    EXPECT_EQ(b->documentTitle(), QStringLiteral("Справка — ColdRoom"));
    EXPECT_EQ(b->source().fragment(), "contents");
    EXPECT_EQ(b->source().adjusted(QUrl::RemoveFragment), help.pageUrl());
    // The contents are the top of the page: its title and the table of contents.
    EXPECT_LT(b->verticalScrollBar()->value(), 20);
    const QString text = b->toPlainText();
    EXPECT_TRUE(text.contains(QStringLiteral("Содержание")));
    EXPECT_TRUE(text.contains(QStringLiteral("формуле Планка")));
    EXPECT_FALSE(text.contains(QChar(0xFFFD)));
    EXPECT_FALSE(help.backButton()->isEnabled());
    EXPECT_FALSE(help.forwardButton()->isEnabled());
    EXPECT_TRUE(help.homeButton()->isEnabled());
}

TEST(HelpWindow, EveryLinkOfThePageLeadsToAnAnchorOfIt) {
    app();
    HelpWindow help;
    ASSERT_TRUE(help.openPage(sourcePage()));
    QFile file(sourcePage());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(file.readAll());

    const QSet<QString> anchors = documentAnchors(*help.browser()->document());
    ASSERT_TRUE(anchors.contains("contents"));
    QRegularExpression href(QStringLiteral("href=\"#([^\"]+)\""));
    int links = 0;
    for (auto m = href.globalMatch(html); m.hasNext();) {
        const QString target = m.next().captured(1);
        ++links;
        EXPECT_TRUE(anchors.contains(target)) << "no anchor for #" << target.toStdString();
    }
    EXPECT_GT(links, 30);
}

TEST(HelpWindow, BackForwardAndContentsButtons) {
    app();
    HelpWindow help;
    ASSERT_TRUE(help.openPage(sourcePage()));
    help.show();
    settle();
    QTextBrowser* b = help.browser();

    emit b->anchorClicked(QUrl("#m-envelope"));
    settle();
    EXPECT_EQ(b->source().fragment(), "m-envelope");
    EXPECT_GT(b->verticalScrollBar()->value(), 0);
    EXPECT_TRUE(help.backButton()->isEnabled());

    help.backButton()->click();
    settle();
    EXPECT_EQ(b->source().fragment(), "contents");
    EXPECT_TRUE(help.forwardButton()->isEnabled());

    help.forwardButton()->click();
    settle();
    EXPECT_EQ(b->source().fragment(), "m-envelope");

    help.homeButton()->click();
    settle();
    EXPECT_EQ(b->source().fragment(), "contents");
    EXPECT_LT(b->verticalScrollBar()->value(), 20);
}

TEST(HelpWindow, LinksOutOfThePageGoToTheSystem) {
    app();
    HelpWindow help;
    ASSERT_TRUE(help.openPage(sourcePage()));
    QList<QUrl> opened;
    help.setExternalOpener([&](const QUrl& url) {
        opened << url;
        return true;
    });
    emit help.browser()->anchorClicked(QUrl("https://example.org/norms"));
    emit help.browser()->anchorClicked(QUrl("mailto:office@example.org"));
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[0], QUrl("https://example.org/norms"));
    EXPECT_EQ(help.browser()->source().fragment(), "contents");
}

TEST(HelpWindow, ReportsAPageThatCannotBeRead) {
    app();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString missing = dir.filePath("coldroom-help.html");
    struct Case {
        QString path;
        QString expected;
    };
    const Case cases[] = {
        {missing, QStringLiteral("Не найден файл справки")},
        {dir.path(), QStringLiteral("это папка")},
        {QString(), QStringLiteral("Не указан файл справки")},
    };
    for (const Case& c : cases) {
        const QString problem = HelpPageProblem(c.path);
        EXPECT_TRUE(problem.contains(c.expected)) << problem.toStdString();
        if (!c.path.isEmpty()) {
            EXPECT_TRUE(problem.contains(QDir::toNativeSeparators(c.path)));
        }
        HelpWindow help;
        QString error;
        EXPECT_FALSE(help.openPage(c.path, &error));
        EXPECT_EQ(error, problem);
    }
    EXPECT_TRUE(HelpPageProblem(sourcePage()).isEmpty());

    MessageBoxCatcher catcher;
    catcher.arm();
    QPointer<HelpWindow> none;
    EXPECT_EQ(ShowHelp(none, missing), nullptr);
    EXPECT_TRUE(catcher.seen);
    EXPECT_EQ(catcher.icon, QMessageBox::Critical);
    EXPECT_TRUE(catcher.text.contains("coldroom-help.html"));
}

TEST(HelpWindow, ShowHelpReusesTheOpenWindowAndReturnsToContents) {
    app();
    QPointer<HelpWindow> window;
    HelpWindow* help = ShowHelp(window, sourcePage());
    ASSERT_NE(help, nullptr);
    settle();
    emit help->browser()->anchorClicked(QUrl("#messages"));
    settle();
    EXPECT_EQ(ShowHelp(window, sourcePage()), help);
    settle();
    EXPECT_EQ(help->browser()->source().fragment(), "contents");
    EXPECT_FALSE(help->testAttribute(Qt::WA_QuitOnClose));
    help->close();
}

}  // namespace
}  // namespace coldroom
