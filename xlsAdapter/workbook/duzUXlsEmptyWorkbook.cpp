// The empty workbook is assembled byte by byte, so that every field is exactly as a new file
// needs it and the bytes are the same on every run (fixed user name, texts and times).
#include "xlsAdapter/workbook/duzUXlsEmptyWorkbook.h"

#include <QString>

#include <cstring>
#include <initializer_list>

namespace {

constexpr uint32_t SectorSize = 512;
constexpr uint32_t StreamSize = 4096; // each stream: the mini-stream cutoff, so none is small
constexpr uint32_t StreamSectors = StreamSize / SectorSize;
constexpr uint32_t FatSector = 3 * StreamSectors;   // 24
constexpr uint32_t DirSector = FatSector + 1;       // 25
constexpr uint32_t NoSector = 0xFFFFFFFEu;          // ENDOFCHAIN
constexpr uint32_t FreeSector = 0xFFFFFFFFu;
constexpr uint32_t FatMark = 0xFFFFFFFDu;

const char *const UserName = "Tarvix";
// 2000-01-01 00:00 UTC in 100 ns steps since 1601-01-01.
constexpr uint64_t FixedTime = 125911584000000000ull;
constexpr uint16_t CodePage1252 = 1252;

class Bytes
{
public:
    ByteArray b;
    Bytes &u8(uint32_t v)
    {
        b.push_back(uint8_t(v));
        return *this;
    }
    Bytes &u16(uint32_t v) { return u8(v).u8(v >> 8); }
    Bytes &u32(uint32_t v) { return u16(v).u16(v >> 16); }
    Bytes &u64(uint64_t v) { return u32(uint32_t(v)).u32(uint32_t(v >> 32)); }
    Bytes &f64(double v)
    {
        uint64_t x;
        std::memcpy(&x, &v, sizeof x);
        return u64(x);
    }
    Bytes &raw(const ByteArray &v)
    {
        b.insert(b.end(), v.begin(), v.end());
        return *this;
    }
    Bytes &text(const char *s)
    {
        while (*s)
            u8(uint8_t(*s++));
        return *this;
    }
    Bytes &zeros(size_t n)
    {
        b.insert(b.end(), n, 0);
        return *this;
    }
    void set32(size_t pos, uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            b[pos + i] = uint8_t(v >> (8 * i));
    }
    size_t size() const { return b.size(); }
};

// ---- Workbook stream ----

void Record(Bytes &out, uint16_t Id, const ByteArray &Data)
{
    out.u16(Id).u16(uint16_t(Data.size())).raw(Data);
}

void Record16(Bytes &out, uint16_t Id, uint16_t Value) { Record(out, Id, Bytes().u16(Value).b); }

// BIFF8 string of 8-bit characters (all the template's texts are plain ASCII).
ByteArray Str(const char *s, bool Len16)
{
    Bytes r;
    const uint32_t n = uint32_t(std::strlen(s));
    if (Len16)
        r.u16(n);
    else
        r.u8(n);
    return r.u8(0).text(s).b;
}

void Bof(Bytes &out, uint16_t Type)
{
    // BIFF8, build 4920 of 1997, history flags 0xC0C1, lowest version 0x0306.
    Record(out, 0x0809, Bytes().u16(0x0600).u16(Type).u16(4920).u16(1997).u32(0xC0C1).u32(0x0306).b);
}

void Globals(Bytes &out, size_t &BoundSheetPos)
{
    Bof(out, 0x0005);
    Record16(out, 0x00E1, 1200); // INTERFACEHDR
    Record16(out, 0x00C1, 0);    // MMS
    Record(out, 0x00E2, {});     // INTERFACEEND
    {
        Bytes w;
        w.raw(Str(UserName, true));
        w.b.resize(112, ' ');
        Record(out, 0x005C, w.b); // WRITEACCESS
    }
    Record16(out, 0x0042, 1200); // CODEPAGE
    Record16(out, 0x0161, 0);    // DSF
    Record(out, 0x01C0, {});     // EXCEL9FILE
    Record16(out, 0x013D, 1);    // TABID
    Record16(out, 0x009C, 14);   // FNGROUPCOUNT
    Record16(out, 0x0019, 0);    // WINDOWPROTECT
    Record16(out, 0x0012, 0);    // PROTECT
    Record16(out, 0x0013, 0);    // PASSWORD
    Record16(out, 0x01AF, 0);    // PROT4REV
    Record16(out, 0x01BC, 0);    // PROT4REVPASS
    // WINDOW1
    Record(out, 0x003D, Bytes().u16(360).u16(240).u16(14940).u16(9150).u16(0x38).u16(0).u16(0).u16(1).u16(600).b);
    Record16(out, 0x0040, 0); // BACKUP
    Record16(out, 0x008D, 0); // HIDEOBJ
    Record16(out, 0x0022, 0); // 1904
    Record16(out, 0x000E, 1); // PRECISION
    Record16(out, 0x01B7, 0); // REFRESHALL
    Record16(out, 0x00DA, 0); // BOOKBOOL

    for (int i = 0; i < 4; ++i) // 10 points, automatic colour, normal weight
        Record(out, 0x0031,
               Bytes().u16(200).u16(0).u16(0x7FFF).u16(400).u16(0).u8(0).u8(0).u8(0).u8(0).raw(Str("Arial", false)).b);

    const struct
    {
        uint16_t Id;
        const char *Text;
    } formats[] = {
        {5, R"("$U"\ #,##0;"$U"\ \-#,##0)"},
        {6, R"("$U"\ #,##0;[Red]"$U"\ \-#,##0)"},
        {7, R"("$U"\ #,##0.00;"$U"\ \-#,##0.00)"},
        {8, R"("$U"\ #,##0.00;[Red]"$U"\ \-#,##0.00)"},
        {42, R"(_ "$U"\ * #,##0_ ;_ "$U"\ * \-#,##0_ ;_ "$U"\ * "-"_ ;_ @_ )"},
        {41, R"(_ * #,##0_ ;_ * \-#,##0_ ;_ * "-"_ ;_ @_ )"},
        {44, R"(_ "$U"\ * #,##0.00_ ;_ "$U"\ * \-#,##0.00_ ;_ "$U"\ * "-"??_ ;_ @_ )"},
        {43, R"(_ * #,##0.00_ ;_ * \-#,##0.00_ ;_ * "-"??_ ;_ @_ )"},
    };
    for (const auto &f : formats)
        Record(out, 0x041E, Bytes().u16(f.Id).raw(Str(f.Text, true)).b);

    // XF: font, format, protection and parent, alignment (bottom, general), rotation, indent and
    // the attribute flags, no borders, no fill (automatic pattern colours 64 and 65).
    const auto xf = [&](uint16_t Font, uint16_t Format, bool Style, uint8_t Used) {
        const uint16_t prot = Style ? 0xFFF5 : 0x0001; // locked; a style XF has no parent
        Record(out, 0x00E0,
               Bytes().u16(Font).u16(Format).u16(prot).u8(0x20).u8(0).u8(0).u8(Used).u16(0).u16(0).u32(0).u16(0x20C0).b);
    };
    // A set attribute flag on a style XF means the style leaves that attribute alone.
    xf(0, 0, true, 0x00);
    for (int i = 1; i <= 14; ++i)
        xf(i <= 2 ? 1 : i <= 4 ? 2 : 0, 0, true, 0xF4);
    xf(0, 0, false, 0x00);
    for (uint16_t fmt : {43, 41, 44, 42, 9})
        xf(1, fmt, true, 0xF8);

    // Built-in styles: XF, style number; level 0xFF.
    const uint8_t styles[][2] = {{16, 3}, {17, 6}, {18, 4}, {19, 7}, {0, 0}, {20, 5}};
    for (const auto &s : styles)
        Record(out, 0x0293, Bytes().u16(0x8000 | s[0]).u8(s[1]).u8(0xFF).b);

    Record16(out, 0x0160, 0); // USESELFS
    BoundSheetPos = out.size() + 4;
    Record(out, 0x0085, Bytes().u32(0).u16(0).raw(Str("Sheet1", false)).b);
    Record(out, 0x008C, Bytes().u16(1).u16(598).b);              // COUNTRY
    Record(out, 0x01C1, Bytes().u16(0x01C1).u16(0).u32(0).b);    // RECALCID: build 0 recalculates on open
    Record(out, 0x00FC, Bytes().u32(0).u32(0).b);                // SST
    Record16(out, 0x00FF, 8);                                    // EXTSST
    Record(out, 0x0863, Bytes().u16(0x0863).zeros(10).u32(20).u32(0).b); // BOOKEXT
    Record(out, 0x000A, {});
}

void Sheet(Bytes &out)
{
    Bof(out, 0x0010);
    const size_t index = out.size() + 4;
    Record(out, 0x020B, Bytes().u32(0).u32(0).u32(0).u32(0).b); // INDEX: no rows
    Record16(out, 0x000D, 1);   // CALCMODE automatic
    Record16(out, 0x000C, 100); // CALCCOUNT
    Record16(out, 0x000F, 1);   // REFMODE A1
    Record16(out, 0x0011, 0);   // ITERATION
    Record(out, 0x0010, Bytes().f64(0.001).b); // DELTA
    Record16(out, 0x005F, 1);   // SAVERECALC
    Record16(out, 0x002A, 0);   // PRINTHEADERS
    Record16(out, 0x002B, 0);   // PRINTGRIDLINES
    Record16(out, 0x0082, 1);   // GRIDSET
    Record(out, 0x0080, Bytes().zeros(8).b);          // GUTS
    Record(out, 0x0225, Bytes().u16(0).u16(255).b);   // DEFAULTROWHEIGHT
    Record16(out, 0x0081, 0x04C1); // WSBOOL
    Record(out, 0x0014, {});    // HEADER
    Record(out, 0x0015, {});    // FOOTER
    Record16(out, 0x0083, 0);   // HCENTER
    Record16(out, 0x0084, 0);   // VCENTER
    // SETUP: paper 0, scale 255, start page 1, fit 1 x 1, no printer settings, margins 0.5".
    Record(out, 0x00A1,
           Bytes().u16(0).u16(255).u16(1).u16(1).u16(1).u16(4).u16(0).u16(0).f64(0.5).f64(0.5).u16(0).b);
    // INDEX points at DEFCOLWIDTH.
    out.set32(index + 12, uint32_t(out.size()));
    Record16(out, 0x0055, 8);   // DEFCOLWIDTH
    Record(out, 0x0200, Bytes().zeros(14).b); // DIMENSIONS
    // WINDOW2: grid lines, headers, zero values, automatic grid colour, outline symbols,
    // selected, active.
    Record(out, 0x023E, Bytes().u16(0x06B6).u16(0).u16(0).u16(64).zeros(10).b);
    // SELECTION: top-left pane, A1.
    Record(out, 0x001D, Bytes().u8(3).u16(0).u16(0).u16(0).u16(1).u16(0).u16(0).u8(0).u8(0).b);
    Record(out, 0x00EF, Bytes().u16(0).u16(0x0037).u16(0).b); // PHONETIC
    Record(out, 0x000A, {});
}

ByteArray WorkbookStream()
{
    Bytes out;
    size_t boundSheet = 0;
    Globals(out, boundSheet);
    out.set32(boundSheet, uint32_t(out.size()));
    Sheet(out);
    out.b.resize(StreamSize, 0);
    return out.b;
}

// ---- Summary property sets ----

enum : uint16_t { VT_I2 = 2, VT_I4 = 3, VT_BOOL = 11, VT_VARIANT = 12, VT_LPSTR = 30, VT_FILETIME = 64, VT_VECTOR = 0x1000 };

// An 8-bit string value: size with the terminating zero, the characters, padding to 4 bytes.
void LpStr(Bytes &v, const char *s)
{
    const uint32_t n = uint32_t(std::strlen(s)) + 1;
    v.u32(n).text(s).u8(0);
    v.zeros((4 - n % 4) % 4);
}

struct Property
{
    uint32_t Id;
    ByteArray Value; // type, padding and value
};

Property I2(uint32_t Id, uint16_t x) { return {Id, Bytes().u16(VT_I2).u16(0).u16(x).u16(0).b}; }
Property I4(uint32_t Id, uint32_t x) { return {Id, Bytes().u16(VT_I4).u16(0).u32(x).b}; }
Property Bool(uint32_t Id, bool x) { return {Id, Bytes().u16(VT_BOOL).u16(0).u16(x ? 0xFFFF : 0).u16(0).b}; }
Property Time(uint32_t Id, uint64_t x) { return {Id, Bytes().u16(VT_FILETIME).u16(0).u64(x).b}; }
Property Text(uint32_t Id, const char *s)
{
    Bytes v;
    v.u16(VT_LPSTR).u16(0);
    LpStr(v, s);
    return {Id, v.b};
}

// A property-set stream with one set, padded to the stream size.
ByteArray PropertySetStream(const uint8_t (&FormatId)[16], const std::vector<Property> &Props)
{
    Bytes out;
    out.u16(0xFFFE).u16(0).u32(0x00020006).zeros(16).u32(1);
    for (uint8_t b : FormatId)
        out.u8(b);
    out.u32(48);
    const size_t start = out.size();
    out.u32(0).u32(uint32_t(Props.size()));
    uint32_t ofs = uint32_t(8 + 8 * Props.size());
    for (const Property &p : Props) {
        out.u32(p.Id).u32(ofs);
        ofs += uint32_t(p.Value.size());
    }
    for (const Property &p : Props)
        out.raw(p.Value);
    out.set32(start, uint32_t(out.size() - start));
    out.b.resize(StreamSize, 0);
    return out.b;
}

// F29F85E0-4FF9-1068-AB91-08002B27B3D9
const uint8_t SummaryFmtId[16] = {0xE0, 0x85, 0x9F, 0xF2, 0xF9, 0x4F, 0x68, 0x10,
                                  0xAB, 0x91, 0x08, 0x00, 0x2B, 0x27, 0xB3, 0xD9};
// D5CDD502-2E9C-101B-9397-08002B2CF9AE
const uint8_t DocSummaryFmtId[16] = {0x02, 0xD5, 0xCD, 0xD5, 0x9C, 0x2E, 0x1B, 0x10,
                                     0x93, 0x97, 0x08, 0x00, 0x2B, 0x2C, 0xF9, 0xAE};

ByteArray SummaryInformation()
{
    return PropertySetStream(SummaryFmtId, {I2(1, CodePage1252), Text(4, UserName), Text(8, UserName),
                                            Text(0x12, "Tarvix"), Time(0x0C, FixedTime), Time(0x0D, FixedTime),
                                            I4(0x13, 0)});
}

ByteArray DocumentSummaryInformation()
{
    Bytes pairs; // one heading, "Worksheets", over one part
    pairs.u16(VT_VECTOR | VT_VARIANT).u16(0).u32(2).u16(VT_LPSTR).u16(0);
    LpStr(pairs, "Worksheets");
    pairs.u16(VT_I4).u16(0).u32(1);
    Bytes parts;
    parts.u16(VT_VECTOR | VT_LPSTR).u16(0).u32(1);
    LpStr(parts, "Sheet1");
    return PropertySetStream(DocSummaryFmtId, {I2(1, CodePage1252), Text(0x0F, ""), I4(0x17, 0x00010000),
                                               Bool(0x0B, false), Bool(0x10, false), Bool(0x13, false),
                                               Bool(0x16, false), {0x0C, pairs.b}, {0x0D, parts.b}});
}

// ---- Compound file ----

void DirEntry(Bytes &out, const QString &Name, uint8_t Type, uint8_t Color, int32_t Left, int32_t Right,
              int32_t Child, uint32_t Start, uint32_t Size, const ByteArray &ClassId = {})
{
    for (QChar c : Name)
        out.u16(c.unicode());
    out.zeros(64 - 2 * size_t(Name.size()));
    out.u16(uint16_t(Name.isEmpty() ? 0 : 2 * Name.size() + 2)).u8(Type).u8(Color);
    out.u32(uint32_t(Left)).u32(uint32_t(Right)).u32(uint32_t(Child));
    if (ClassId.empty())
        out.zeros(16);
    else
        out.raw(ClassId);
    out.zeros(4 + 16); // state bits, times
    out.u32(Start).u32(Size).u32(0);
}

ByteArray Build()
{
    const QString summary = QChar(5) + QStringLiteral("SummaryInformation");
    const QString docSummary = QChar(5) + QStringLiteral("DocumentSummaryInformation");

    Bytes out;
    // Header: signature, version 3.62, byte order FFFE, 512-byte sectors, 64-byte mini sectors.
    out.raw({0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1}).zeros(16);
    out.u16(0x003E).u16(3).u16(0xFFFE).u16(9).u16(6).zeros(6);
    out.u32(0).u32(1).u32(DirSector).u32(0).u32(StreamSize);
    out.u32(NoSector).u32(0).u32(NoSector).u32(0);
    out.u32(FatSector);
    while (out.size() < 512)
        out.u32(FreeSector);

    // Streams: Workbook in sectors 0-7, the summaries in 8-15 and 16-23.
    out.raw(WorkbookStream()).raw(SummaryInformation()).raw(DocumentSummaryInformation());

    Bytes fat;
    for (uint32_t s = 0; s < FatSector; ++s)
        fat.u32(s % StreamSectors == StreamSectors - 1 ? NoSector : s + 1);
    fat.u32(FatMark).u32(NoSector);
    while (fat.size() < SectorSize)
        fat.u32(FreeSector);
    out.raw(fat.b);

    // Directory: the root's child is the summary stream, with Workbook (the shorter name) to
    // its left and the document summary to its right.
    const ByteArray excelWorkbook = {0x20, 0x08, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                     0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
    DirEntry(out, QStringLiteral("Root Entry"), 5, 1, -1, -1, 2, NoSector, 0, excelWorkbook);
    DirEntry(out, QStringLiteral("Workbook"), 2, 1, -1, -1, -1, 0, StreamSize);
    DirEntry(out, summary, 2, 1, 1, 3, -1, StreamSectors, StreamSize);
    DirEntry(out, docSummary, 2, 1, -1, -1, -1, 2 * StreamSectors, StreamSize);
    return out.b;
}

} // namespace

const ByteArray &EmptyWorkbookTemplate()
{
    static const ByteArray bytes = Build();
    return bytes;
}
