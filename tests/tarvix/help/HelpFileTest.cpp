// The compiled help file, read back with Debian's CHM reader (libchm-bin) rather than with the
// compiler's own tools: its directory holds every page written under help/, the contents tree and
// the index name pages that are inside, and no page links to something the file lacks.
#include "tests/common/TestSupport.h"
#include <gtest/gtest.h>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QUrl>
#include <map>

namespace {

QByteArray ReadAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Records of the file's #SYSTEM object: a version, then (code, length, data) with 16-bit
// little-endian code and length; string data end with a zero byte.
std::map<int, QString> SystemStrings(const QByteArray &sys)
{
    std::map<int, QString> out;
    int pos = 4;
    while (pos + 4 <= sys.size()) {
        const int code = uint8_t(sys[pos]) | uint8_t(sys[pos + 1]) << 8;
        const int len = uint8_t(sys[pos + 2]) | uint8_t(sys[pos + 3]) << 8;
        pos += 4;
        if (pos + len > sys.size())
            break;
        out[code] = QString::fromLatin1(sys.mid(pos, len)).section(QChar(0), 0, 0);
        pos += len;
    }
    return out;
}

// The "Local" targets of a sitemap (contents tree or index).
QStringList SitemapTargets(const QByteArray &sitemap)
{
    QStringList out;
    static const QRegularExpression local(QStringLiteral(R"re(<param\s+name="Local"\s+value="([^"]*)")re"),
                                          QRegularExpression::CaseInsensitiveOption);
    for (auto it = local.globalMatch(QString::fromUtf8(sitemap)); it.hasNext();)
        out << it.next().captured(1);
    return out;
}

class HelpFile : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        dir_ = new QTemporaryDir;
        QProcess p;
        p.start(QStringLiteral(TARVIX_CHM_EXTRACT), {QStringLiteral(TARVIX_HELP_CHM), dir_->path()});
        ok_ = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    }
    static void TearDownTestSuite() { delete dir_; }
    void SetUp() override { ASSERT_TRUE(ok_) << "extract_chmLib could not read " TARVIX_HELP_CHM; }

    static QString Inside(const QString &name) { return QDir(dir_->path()).filePath(name); }
    // Pages of the file, by their names inside it.
    static QSet<QString> Pages()
    {
        QSet<QString> pages;
        QDirIterator it(dir_->path(), {QStringLiteral("*.html"), QStringLiteral("*.htm")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            pages << QDir(dir_->path()).relativeFilePath(it.next());
        return pages;
    }

    static QTemporaryDir *dir_;
    static bool ok_;
};
QTemporaryDir *HelpFile::dir_ = nullptr;
bool HelpFile::ok_ = false;

TEST_F(HelpFile, OpensOnTheContentsPageOfTheTarvixHelp)
{
    const auto sys = SystemStrings(ReadAll(Inside(QStringLiteral("#SYSTEM"))));
    ASSERT_TRUE(sys.count(2) && sys.count(3) && sys.count(0)) << "#SYSTEM lacks the default topic, title or contents file";
    EXPECT_EQ(sys.at(2), QStringLiteral("index.html"));
    EXPECT_EQ(sys.at(3), QStringLiteral("Tarvix Help"));
    EXPECT_TRUE(QFile::exists(Inside(sys.at(2))));
    EXPECT_TRUE(QFile::exists(Inside(sys.at(0))));
}

TEST_F(HelpFile, HoldsEveryPageWrittenForIt)
{
    QDir src(QStringLiteral(TARVIX_HELP_SOURCE));
    const QStringList written = src.entryList({QStringLiteral("*.html"), QStringLiteral("*.css"), QStringLiteral("*.png")}, QDir::Files);
    ASSERT_GE(written.size(), 15);
    for (const QString &f : written) {
        EXPECT_TRUE(QFile::exists(Inside(f))) << f.toStdString() << " is missing from the help file";
        EXPECT_EQ(ReadAll(Inside(f)), ReadAll(src.filePath(f))) << f.toStdString();
    }
}

TEST_F(HelpFile, ContentsTreeListsEveryPageAndOnlyPagesInside)
{
    const auto sys = SystemStrings(ReadAll(Inside(QStringLiteral("#SYSTEM"))));
    ASSERT_TRUE(sys.count(0));
    const QStringList toc = SitemapTargets(ReadAll(Inside(sys.at(0))));
    const QSet<QString> listed(toc.begin(), toc.end());
    EXPECT_EQ(toc.value(0), QStringLiteral("index.html")) << "the contents tree starts with the contents page";
    for (const QString &page : Pages())
        EXPECT_TRUE(listed.contains(page)) << page.toStdString() << " is not in the contents tree";
    for (const QString &target : listed)
        EXPECT_TRUE(QFile::exists(Inside(target))) << "contents entry " << target.toStdString() << " is not inside";
}

TEST_F(HelpFile, IndexEntriesNamePagesInside)
{
    const auto sys = SystemStrings(ReadAll(Inside(QStringLiteral("#SYSTEM"))));
    ASSERT_TRUE(sys.count(1)) << "#SYSTEM names no index file";
    const QStringList index = SitemapTargets(ReadAll(Inside(sys.at(1))));
    EXPECT_GE(index.size(), 20);
    for (const QString &target : index)
        EXPECT_TRUE(QFile::exists(Inside(target))) << "index entry " << target.toStdString() << " is not inside";
}

TEST_F(HelpFile, EveryLinkedPageImageAndAnchorIsInside)
{
    static const QRegularExpression ref(QStringLiteral(R"re(\b(?:href|src)\s*=\s*"([^"]*)")re"),
                                        QRegularExpression::CaseInsensitiveOption);
    int links = 0;
    for (const QString &page : Pages()) {
        const QString text = QString::fromUtf8(ReadAll(Inside(page)));
        for (auto it = ref.globalMatch(text); it.hasNext();) {
            const QString target = it.next().captured(1);
            const QUrl url(target);
            if (!url.scheme().isEmpty()) {
                ADD_FAILURE() << page.toStdString() << " links outside the help file: " << target.toStdString();
                continue;
            }
            const QString file = url.path().isEmpty() ? page : QDir::cleanPath(QFileInfo(page).path() + QLatin1Char('/') + url.path());
            ++links;
            ASSERT_TRUE(QFile::exists(Inside(file))) << page.toStdString() << " links to " << target.toStdString() << ", which is not inside";
            if (url.hasFragment()) {
                const QString targetText = QString::fromUtf8(ReadAll(Inside(file)));
                EXPECT_TRUE(targetText.contains(QStringLiteral("id=\"%1\"").arg(url.fragment())) ||
                            targetText.contains(QStringLiteral("name=\"%1\"").arg(url.fragment())))
                    << page.toStdString() << " links to the missing anchor " << target.toStdString();
            }
        }
    }
    EXPECT_GT(links, 30);
}

} // namespace
