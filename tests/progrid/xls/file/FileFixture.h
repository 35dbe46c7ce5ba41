#pragma once
// Whole workbook files for the file object: the template's "Workbook" stream in compound files
// of various shapes, written to disk or kept in memory.
#include "tests/progrid/xls/workbook/TemplateFixture.h"
#include "xlsAdapter/file/duzUXlsFile.h"
#include "xlsAdapter/workbook/duzUXlsWorkbook.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace xfile {

using namespace tpl;

// A connected file object without adapter.
struct Connected
{
    explicit Connected(bool AllowOverwriting = false) : F(nullptr, AllowOverwriting) { F.Connect(); }
    ~Connected() { F.Disconnect(); }
    TXLSFile F;
};

inline QByteArray ReadFile(const QString &Name)
{
    QFile f(Name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void WriteFile(const QString &Name, const QByteArray &Bytes)
{
    QFile f(Name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(Bytes);
}

inline QByteArray StreamOf(const QByteArray &File, const QString &Name)
{
    auto m = ole::MemStream(File);
    TOle2File f(m.get());
    f.SelectStream(Name);
    return ole::ReadAll(f);
}

inline QByteArray SavedToMemory(TXLSFile &F)
{
    TMemoryStream out;
    F.Save(true, QString(), {}, {}, &out);
    return out.Bytes();
}

inline void LoadBytes(TXLSFile &F, const QByteArray &Bytes)
{
    auto m = ole::MemStream(Bytes);
    F.LoadFromStream(m.get());
}

// The template's globals and sheet with Extra placed right after the globals' BOF.
inline QByteArray TemplateBookWith(const QByteArray &Extra)
{
    const QByteArray wb = StreamBytes("Workbook");
    return wb.left(20) + Extra + wb.mid(20);
}

// Name and bytes of the child of a storage of the root, a stream of at least 4096 bytes.
inline std::pair<QString, QByteArray> StorageChild(const QByteArray &File, const QString &Storage)
{
    auto m = ole::MemStream(File);
    TOle2File f(m.get());
    const auto chain = [&](int64_t s) {
        QByteArray b;
        for (int n = 0; s != ENDOFCHAIN && n < 10000; s = f.FAT->GetNextSector(s), ++n)
            b += File.mid(512 + s * 512, 512);
        return b;
    };
    const QByteArray dirBytes = chain(f.Header->sectDirStart());
    const ByteArray d(dirBytes.begin(), dirBytes.end());
    for (int32_t at = 0; at < int32_t(d.size()); at += 128)
        if (TOle2Directory::GetName(d, at) == Storage && TOle2Directory::GetType(d, at) == STGTY_STORAGE) {
            const int32_t c = TOle2Directory::GetChildSid(d, at) * 128;
            if (c < 0)
                break;
            return {TOle2Directory::GetName(d, c),
                    chain(TOle2Directory::GetSectStart(d, c)).left(TOle2Directory::GetSize(d, c))};
        }
    return {};
}

// The template's workbook with Extra placed before the sheet's EOF.
inline QByteArray TemplateSheetWith(const QByteArray &Extra)
{
    const QByteArray wb = StreamBytes("Workbook");
    const int64_t eof = Records(wb).back().Pos;
    return wb.left(eof) + Extra + wb.mid(eof);
}

// A compound file with the streams given after the root.
inline QByteArray Compound(std::vector<ole::Entry> Entries)
{
    Entries.insert(Entries.begin(), ole::Root());
    return ole::Build(std::move(Entries)).Bytes;
}

} // namespace xfile
