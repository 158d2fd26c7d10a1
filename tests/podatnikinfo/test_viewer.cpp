// The binding of the HTML viewer library (missing, not a library, too old, without
// entry point, working), the viewer library itself, and "Pokaż" end to end.

#include "FakeMessagePresenter.h"
#include "InfoFakes.h"
#include "TestSupport.h"
#include "uGetPodatnikInfo.h"
#include "uHTMLPrint.h"
#include "uHTMLViewerModule.h"
#include "uListOpeners.h"
#include "uShowPodatnikInfo.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <dlfcn.h>

namespace {

const QString kNoInterface = QStringLiteral("Nie znaleziono interfejsu modułu przeglądarki HTML.");
const QString kTooOld =
    QStringLiteral("Wersja modułu przeglądarki HTML jest mniejsza od \"4\" i nie zostanie załadowana.");

QString FixtureFolder(const char* Leaf) {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../fixtures/htmlviewer/") +
           QString::fromUtf8(Leaf);
}

// True while the library file is mapped into this process.
bool Mapped(const QString& Path) {
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return false;
    return QString::fromUtf8(maps.readAll()).contains(QFileInfo(Path).canonicalFilePath());
}

// What the working stand-in recorded: the number of pages shown and the last one; -1
// when the library is not loaded. Reached through the dynamic loader's own reference
// count (a second QLibrary on the same file would unload it for the binding).
int32_t FixtureShown(const QString& Path, QString* Html = nullptr, int32_t* Alive = nullptr) {
    void* lib = dlopen(QFile::encodeName(Path).constData(), RTLD_NOW | RTLD_NOLOAD);
    if (!lib)
        return -1;
    std::u16string html;
    const auto shown = reinterpret_cast<int32_t (*)(std::u16string&)>(dlsym(lib, "FixtureShown"))(html);
    if (Html)
        *Html = QString::fromStdU16String(html);
    if (Alive)
        *Alive = reinterpret_cast<int32_t (*)()>(dlsym(lib, "FixtureAlive"))();
    dlclose(lib);
    return shown;
}

class ViewerBinding : public ::testing::Test {
protected:
    FakeMessagePresenter m_messages;
};

} // namespace

TEST_F(ViewerBinding, WithoutTheLibraryNothingIsShownAndTheInterfaceIsReportedMissing) {
    THTMLViewerModule module(TestSupport::NewTempDir(QStringLiteral("noviewer")));
    EXPECT_FALSE(module.Show(nullptr, QStringLiteral("<P>x</P>")));
    EXPECT_FALSE(module.Show(nullptr, QStringLiteral("<P>x</P>")));
    ASSERT_EQ(m_messages.Count(), 2);
    EXPECT_EQ(m_messages.Last().Text, kNoInterface);
    EXPECT_FALSE(module.IsLoaded());
}

TEST_F(ViewerBinding, AFileThatIsNoLibraryIsReportedWithItsFullPath) {
    const QString dir = TestSupport::NewTempDir(QStringLiteral("badviewer"));
    THTMLViewerModule module(dir);
    QFile junk(module.LibraryPath());
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a library");
    junk.close();
    EXPECT_FALSE(module.Show(nullptr, QStringLiteral("x")));
    ASSERT_EQ(m_messages.Count(), 1);
    EXPECT_EQ(
        m_messages.Last().Text,
        QStringLiteral("Nie znaleziono modułu przeglądaki HTML: %1")
            .arg(QDir::toNativeSeparators(QDir(dir).absoluteFilePath(THTMLViewerModule::LibraryFileName()))));
}

TEST_F(ViewerBinding, ALibraryOfVersionThreeIsRefusedAndUnloaded) {
    THTMLViewerModule module(FixtureFolder("old"));
    ASSERT_TRUE(QFile::exists(module.LibraryPath())) << module.LibraryPath().toStdString();
    EXPECT_FALSE(module.Show(nullptr, QStringLiteral("x")));
    ASSERT_EQ(m_messages.Count(), 1);
    EXPECT_EQ(m_messages.Last().Text, kTooOld);
    EXPECT_FALSE(module.IsLoaded());
    EXPECT_FALSE(Mapped(module.LibraryPath()));
    // Asked again, it is checked again (and refused again).
    EXPECT_FALSE(module.Show(nullptr, QStringLiteral("x")));
    EXPECT_EQ(m_messages.Count(), 2);
}

TEST_F(ViewerBinding, ALibraryWithoutEntryPointGivesNoInterfaceAndIsUnloaded) {
    THTMLViewerModule module(FixtureFolder("noentry"));
    EXPECT_FALSE(module.Show(nullptr, QStringLiteral("x")));
    ASSERT_EQ(m_messages.Count(), 1);
    EXPECT_EQ(m_messages.Last().Text, kNoInterface);
    EXPECT_FALSE(Mapped(module.LibraryPath()));
}

TEST_F(ViewerBinding, AWorkingLibraryIsBoundOnceAndFreedWithTheBinding) {
    QString path;
    {
        THTMLViewerModule module(FixtureFolder("good"));
        path = module.LibraryPath();
        EXPECT_TRUE(module.Show(nullptr, QStringLiteral("<P>pierwsza</P>")));
        EXPECT_TRUE(module.Show(nullptr, QStringLiteral("<P>druga ż</P>")));
        EXPECT_EQ(m_messages.Count(), 0);
        QString html;
        int32_t alive = 0;
        EXPECT_EQ(FixtureShown(path, &html, &alive), 2);
        EXPECT_EQ(html, QStringLiteral("<P>druga ż</P>"));
        EXPECT_EQ(alive, 2); // the main interface and one viewer object, kept
        EXPECT_TRUE(Mapped(path));
    }
    EXPECT_FALSE(Mapped(path));
}

TEST_F(ViewerBinding, PokazShowsTheEscapedPageOfTheSubject) {
    THTMLViewerModule module(FixtureFolder("good"));
    auto subject = Make<TSubject>();
    subject->Set(cDanePodmiotuNazwisko.Symbol, QStringLiteral("Żółć <&> \"x\""));
    ShowPodatnikInfo(module, nullptr, nullptr, nullptr, nullptr, subject.get());
    ShowPodatnikInfo(module, nullptr, nullptr, nullptr, nullptr, nullptr); // no subject: nothing
    QString html;
    EXPECT_EQ(FixtureShown(module.LibraryPath(), &html), 1);
    EXPECT_TRUE(html.contains(QStringLiteral("Nazwisko:<B> Żółć &lt;&amp;&gt; &quot;x&quot;</B>")));
    EXPECT_EQ(html.count(QStringLiteral("<TD")), 3);
}

namespace {

QTextBrowser* Browser(QWidget* Window) {
    return Window ? Window->findChild<QTextBrowser*>(QStringLiteral("HTMLView")) : nullptr;
}

QAbstractButton* Button(QWidget* Window, const QString& Text) {
    for (auto* b : Window->findChildren<QAbstractButton*>())
        if (b->text() == Text)
            return b;
    return nullptr;
}

} // namespace

TEST(HTMLViewerLibrary, ShowsThePageModallyFollowsNoLinkAndSavesAPdf) {
    FakeMessagePresenter messages;
    THTMLViewerModule module; // the program's folder: the real library
    const QString pdf = TestSupport::NewTempDir(QStringLiteral("pdf")) + QStringLiteral("/raport");
    QString shown, afterLink, source = QStringLiteral("unset");
    bool linksOff = false;
    int clicked = 0;
    QStringList buttons;
    TestSupport::WhenModal([&](QWidget* w) {
        QTextBrowser* browser = Browser(w);
        if (!browser) {
            w->close();
            return;
        }
        shown = browser->toPlainText();
        linksOff = !browser->openLinks() && !browser->openExternalLinks();
        for (auto* b : w->findChildren<QAbstractButton*>())
            buttons.append(b->text());
        // Reach the link from the keyboard and activate it: the page stays.
        QObject::connect(browser, &QTextBrowser::anchorClicked, browser, [&clicked] { ++clicked; });
        browser->setFocus();
        QTest::keyClick(browser, Qt::Key_Tab);
        QTest::keyClick(browser, Qt::Key_Return);
        afterLink = browser->toPlainText();
        source = browser->source().toString();
        TestSupport::WhenModal([&](QWidget* dialog) {
            if (auto* fd = qobject_cast<QFileDialog*>(dialog)) {
                fd->selectFile(pdf);
                QMetaObject::invokeMethod(fd, "accept", Qt::QueuedConnection);
            } else {
                dialog->close();
            }
        });
        Button(w, QStringLiteral("Zapisz jako PDF"))->click();
        Button(w, QStringLiteral("Zamknij"))->click();
    });
    ASSERT_TRUE(
        module.Show(nullptr, QStringLiteral("<P>Nazwa: <B>A &amp; B</B> <a href=\"file:///etc/hostname\">"
                                            "link</a></P>")));
    EXPECT_EQ(messages.Count(), 0);
    EXPECT_EQ(shown, QStringLiteral("Nazwa: A & B link"));
    EXPECT_TRUE(linksOff);
    EXPECT_EQ(clicked, 1);
    EXPECT_EQ(afterLink, shown);
    EXPECT_EQ(source, QString());
    EXPECT_EQ(buttons, QStringList({"Drukuj", "Zapisz jako PDF", "Zamknij"}));
    QFile file(pdf + QStringLiteral(".pdf")); // the suffix is added when none was typed
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5).startsWith("%PDF"));
}

// A name typed without the ending names another file than the one the file dialog asked
// about: replacing an existing one is asked first, and "Nie" leaves it as it was.
TEST(HTMLViewerLibrary, SavingOverAnExistingPdfTypedWithoutItsEndingAsksFirst) {
    FakeMessagePresenter messages;
    THTMLViewerModule module;
    const QString typed = TestSupport::NewTempDir(QStringLiteral("pdf")) + QStringLiteral("/raport");
    QFile existing(typed + QStringLiteral(".pdf"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("earlier");
    existing.close();
    QStringList questions;
    TestSupport::WhenModal([&](QWidget* w) {
        for (const QString& answer : {QStringLiteral("Nie"), QStringLiteral("Tak")}) {
            TestSupport::WhenModal([&](QWidget* dialog) {
                auto* fd = qobject_cast<QFileDialog*>(dialog);
                if (!fd) {
                    dialog->close();
                    return;
                }
                fd->selectFile(typed);
                QMetaObject::invokeMethod(fd, "accept", Qt::QueuedConnection);
                TestSupport::WhenModal(TestSupport::WindowOf<QMessageBox>(), [&](QWidget* question) {
                    questions.append(static_cast<QMessageBox*>(question)->text());
                    Button(question, answer)->click();
                });
            });
            Button(w, QStringLiteral("Zapisz jako PDF"))->click();
            if (answer == QStringLiteral("Nie")) {
                QFile kept(typed + QStringLiteral(".pdf"));
                EXPECT_TRUE(kept.open(QIODevice::ReadOnly) && kept.readAll() == "earlier");
            }
        }
        Button(w, QStringLiteral("Zamknij"))->click();
    });
    ASSERT_TRUE(module.Show(nullptr, QStringLiteral("<P>Raport</P>")));
    const QString question = QStringLiteral("Plik %1.pdf już istnieje.\nCzy zastąpić go?").arg(typed);
    EXPECT_EQ(questions, QStringList({question, question}));
    QFile replaced(typed + QStringLiteral(".pdf"));
    ASSERT_TRUE(replaced.open(QIODevice::ReadOnly));
    EXPECT_TRUE(replaced.read(5).startsWith("%PDF"));
}

TEST(HTMLViewerLibrary, PokazThroughTheListOpenerShowsTheReportInTheViewer) {
    FakeMessagePresenter messages;
    InstallSubjectInfo();
    auto subject = Make<TSubject>();
    subject->Set(cDanePodmiotuPierwszeImie.Symbol, QStringLiteral("Łucja"));
    subject->Set(cUwagi.Symbol, QStringLiteral("linia 1\r\nlinia 2"));
    QString shown;
    TestSupport::WhenModal([&](QWidget* w) {
        if (QTextBrowser* browser = Browser(w))
            shown = browser->toPlainText();
        w->close();
    });
    ListOpeners::ShowSubjectInfo(nullptr, nullptr, nullptr, nullptr, subject.get());
    ListOpeners::SetSubjectInfoOpener({});
    FreeHTMLViewerModule();
    EXPECT_EQ(messages.Count(), 0);
    EXPECT_TRUE(shown.contains(QStringLiteral("Imię pierwsze: Łucja"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("Uwagi: linia 1\nlinia 2"))) << shown.toStdString();
}

TEST(PrintedReport, HeadingDateFileNameAndNoNearlyEmptyLastPage) {
    using namespace HTMLPrint;
    const QString page = QStringLiteral("<HTML><HEAD><TITLE>T</TITLE></HEAD><BODY style=\"x\"><P>a</P></BODY></HTML>");
    EXPECT_EQ(PrintableHtml(page, QStringLiteral("Informacja o podmiocie: A & B"), QDate(2026, 3, 7)),
              QStringLiteral("<HTML><HEAD><TITLE>T</TITLE></HEAD><BODY style=\"x\">"
                             "<H2 style=\"font: bold 16px Arial, Verdana\">Informacja o podmiocie: A &amp; B</H2>"
                             "<P style=\"font: 11px Arial, Verdana\">Data wydruku: 07.03.2026</P><P>a</P></BODY></HTML>"));
    EXPECT_EQ(PrintableHtml(page, QString(), QDate(2026, 3, 7)), page);
    EXPECT_EQ(PdfFileName(QStringLiteral("Informacja o podmiocie: Nowak/Kowalska \"Ala\"")),
              QStringLiteral("Informacja o podmiocie - Nowak - Kowalska - Ala -.pdf"));
    EXPECT_EQ(PdfFileName(QStringLiteral("../..")), QStringLiteral("raport.pdf"));
    EXPECT_EQ(PdfFileName(QString()), QStringLiteral("raport.pdf"));
    EXPECT_EQ(PdfFileName(QString(300, u'ż')).size(), 104);

    // A document that runs a few lines onto a third page is fitted on two, slightly smaller;
    // one whose last page is well filled keeps its size.
    const QSizeF body(500, 700);
    const auto lines = [](int Count) {
        QString html;
        for (int i = 0; i < Count; ++i)
            html += QStringLiteral("<P style=\"font: 12px Arial\">wiersz %1</P>").arg(i);
        return html;
    };
    int perTwoPages = 0;
    for (int n = 1; n < 1000; ++n) {
        QTextDocument probe;
        probe.setHtml(lines(n));
        probe.setPageSize(body);
        if (probe.pageCount() == 3) {
            perTwoPages = n - 1;
            break;
        }
    }
    ASSERT_GT(perTwoPages, 20);
    QTextDocument nearlyEmpty;
    nearlyEmpty.setHtml(lines(perTwoPages + 2));
    const TPageLayout fitted = FitPages(nearlyEmpty, body);
    EXPECT_EQ(fitted.Pages, 2);
    EXPECT_LT(fitted.Scale, 1.0);
    EXPECT_GE(fitted.Scale, 0.85);
    QTextDocument halfFull;
    halfFull.setHtml(lines(perTwoPages + perTwoPages / 4));
    const TPageLayout kept = FitPages(halfFull, body);
    EXPECT_EQ(kept.Pages, 3);
    EXPECT_EQ(kept.Scale, 1.0);
}

// The PDF of a titled page: the file dialog proposes the subject's name, the PDF carries
// the title, and the heading with the day printed is on its page.
TEST(HTMLViewerLibrary, ThePdfOfAReportIsTitledAndNamedAfterTheSubject) {
    FakeMessagePresenter messages;
    THTMLViewerModule module;
    const QString folder = TestSupport::NewTempDir(QStringLiteral("pdf"));
    QString proposed;
    TestSupport::WhenModal([&](QWidget* w) {
        TestSupport::WhenModal([&](QWidget* dialog) {
            auto* fd = qobject_cast<QFileDialog*>(dialog);
            if (!fd) {
                dialog->close();
                return;
            }
            proposed = fd->selectedFiles().value(0);
            fd->setDirectory(folder);
            fd->selectFile(QFileInfo(proposed).fileName());
            QMetaObject::invokeMethod(fd, "accept", Qt::QueuedConnection);
        });
        Button(w, QStringLiteral("Zapisz jako PDF"))->click();
        Button(w, QStringLiteral("Zamknij"))->click();
    });
    ASSERT_TRUE(module.Show(nullptr, QStringLiteral("<HTML><HEAD><TITLE>Informacja o podmiocie: Nowak Ewa</TITLE>"
                                                    "</HEAD><BODY><P>Nazwisko: <B>Nowak</B></P></BODY></HTML>")));
    EXPECT_EQ(messages.Count(), 0);
    EXPECT_EQ(QFileInfo(proposed).fileName(), QStringLiteral("Informacja o podmiocie - Nowak Ewa.pdf"));
    QFile file(folder + QStringLiteral("/Informacja o podmiocie - Nowak Ewa.pdf"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray pdf = file.readAll();
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    // Qt writes the title as a UTF-16 text string with its byte order mark.
    const QString title = QStringLiteral("Informacja o podmiocie: Nowak Ewa");
    QByteArray utf16("\xFE\xFF");
    for (QChar c : title)
        utf16 += char(c.unicode() >> 8), utf16 += char(c.unicode() & 0xFF);
    EXPECT_TRUE(pdf.contains("/Title") && (pdf.contains(utf16) || pdf.contains(title.toLatin1())));
    // One page, with text drawn on it (the heading, the page number, the page).
    EXPECT_EQ(pdf.count("/Type /Page") - pdf.count("/Type /Pages"), 1);
    EXPECT_TRUE(pdf.contains("/Font"));
}
