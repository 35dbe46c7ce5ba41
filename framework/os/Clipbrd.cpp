#include "framework/os/Clipbrd.h"
#include "framework/graphics/Graphics.h"
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QUrl>
#include <map>

namespace {

struct FormatRegistry
{
    std::map<TClipboardFormat, QString> mime{{CF_TEXT, QStringLiteral("text/plain")},
                                             {CF_UNICODETEXT, QStringLiteral("text/plain")},
                                             {CF_BITMAP, QStringLiteral("application/x-qt-image")}};
    std::map<QString, TClipboardFormat> byName;
    TClipboardFormat next = 0xC000;
};

FormatRegistry &registry()
{
    static FormatRegistry r;
    return r;
}

QClipboard *systemClipboard()
{
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        throw EClipboardException(QStringLiteral("Cannot open clipboard: there is no desktop session"));
    return QGuiApplication::clipboard();
}

const QString privatePrefix = QStringLiteral("application/x-tarvix-");

// Named formats that travel under a standard MIME type (names in lower case).
const std::pair<QLatin1String, QLatin1String> kStandardTypes[] = {
    {QLatin1String("rich text format"), QLatin1String("text/rtf")},
    {QLatin1String("html format"), QLatin1String("text/html")},
};

QString mimeOf(TClipboardFormat f)
{
    QString m = ClipboardFormatMimeType(f);
    if (m.isEmpty())
        throw EClipboardException(QStringLiteral("Unknown clipboard format %1").arg(f));
    return m;
}

} // namespace

TClipboardFormat RegisterClipboardFormat(const QString &Name)
{
    FormatRegistry &r = registry();
    const QString key = Name.toLower();
    auto it = r.byName.find(key);
    if (it != r.byName.end())
        return it->second;
    QString mime = privatePrefix + QString::fromLatin1(QUrl::toPercentEncoding(key));
    for (const auto &[name, type] : kStandardTypes)
        if (key == name)
            mime = type;
    TClipboardFormat id = r.next++;
    r.byName[key] = id;
    r.mime[id] = mime;
    return id;
}

QString ClipboardFormatMimeType(TClipboardFormat Format)
{
    auto &m = registry().mime;
    auto it = m.find(Format);
    return it == m.end() ? QString() : it->second;
}

TClipboardFormat ClipboardFormatOfMimeType(const QString &MimeType)
{
    for (const auto &[name, type] : kStandardTypes)
        if (MimeType == type)
            return RegisterClipboardFormat(name);
    if (MimeType.startsWith(privatePrefix))
        return RegisterClipboardFormat(QUrl::fromPercentEncoding(MimeType.mid(privatePrefix.size()).toLatin1()));
    return 0;
}

TClipboard::~TClipboard() { delete pending_; }

void TClipboard::Open()
{
    systemClipboard();
    if (openCount_++ == 0) {
        delete pending_;
        pending_ = nullptr;
    }
}

void TClipboard::Close()
{
    if (openCount_ == 0)
        return;
    if (--openCount_ == 0)
        commit();
}

void TClipboard::commit()
{
    if (!pending_)
        return;
    QMimeData *data = pending_;
    pending_ = nullptr;
    systemClipboard()->setMimeData(data); // the clipboard takes ownership
}

void TClipboard::Clear()
{
    if (openCount_ > 0) {
        delete pending_;
        pending_ = new QMimeData;
        return;
    }
    systemClipboard()->clear();
}

QString TClipboard::AsText()
{
    const QMimeData *d = systemClipboard()->mimeData();
    if (!d || !d->hasText())
        return QString();
    QString s = d->text();
    // Text ends at the first NUL, as 0-terminated clipboard text did.
    qsizetype nul = s.indexOf(QChar(0));
    return nul >= 0 ? s.left(nul) : s;
}

void TClipboard::SetAsText(const QString &Value)
{
    Open();
    if (!pending_)
        pending_ = new QMimeData;
    pending_->setText(Value);
    Close();
}

bool TClipboard::HasFormat(TClipboardFormat Format)
{
    const QMimeData *d = systemClipboard()->mimeData();
    if (!d)
        return false;
    if (Format == CF_BITMAP)
        return d->hasImage();
    if (Format == CF_TEXT || Format == CF_UNICODETEXT)
        return d->hasText();
    QString m = ClipboardFormatMimeType(Format);
    return !m.isEmpty() && d->hasFormat(m);
}

QByteArray TClipboard::GetAsHandle(TClipboardFormat Format)
{
    const QString m = mimeOf(Format);
    const QMimeData *d = systemClipboard()->mimeData();
    if (!d || !d->hasFormat(m))
        return QByteArray();
    return d->data(m);
}

void TClipboard::SetAsHandle(TClipboardFormat Format, const QByteArray &Data)
{
    const QString m = mimeOf(Format);
    Open();
    if (!pending_)
        pending_ = new QMimeData;
    pending_->setData(m, Data);
    Close();
}

void TClipboard::Assign(TPersistent *Source)
{
    TGraphic *g = dynamic_cast<TGraphic *>(Source);
    if (auto *p = dynamic_cast<TPicture *>(Source))
        g = p->Graphic();
    if (!g) {
        if (dynamic_cast<TPicture *>(Source))
            throw EClipboardException(QStringLiteral("Cannot copy an empty picture to the clipboard"));
        TPersistent::Assign(Source);
        return;
    }
    Open();
    if (!pending_)
        pending_ = new QMimeData;
    pending_->setImageData(g->ToImage());
    Close();
}

void TClipboard::GetPicture(TPicture *Picture)
{
    const QMimeData *d = systemClipboard()->mimeData();
    if (d && d->hasImage()) {
        QImage img = qvariant_cast<QImage>(d->imageData());
        if (img.isNull())
            throw EClipboardException(QStringLiteral("The picture on the clipboard is damaged"));
        TBitmap b;
        b.SetImage(img);
        Picture->SetGraphic(&b);
        return;
    }
    // Pictures offered as encoded bytes are decoded here, so damaged data is reported.
    for (const QString &f : d ? d->formats() : QStringList())
        if (f.startsWith(QLatin1String("image/"))) {
            try {
                TPicture loaded;
                loaded.LoadFromData(d->data(f));
                Picture->Assign(&loaded);
                return;
            } catch (const EInvalidGraphic &e) {
                throw EClipboardException(QStringLiteral("The picture on the clipboard is damaged: %1").arg(e.Message()));
            }
        }
    throw EClipboardException(QStringLiteral("The clipboard holds no picture"));
}

TClipboard *Clipboard()
{
    static TClipboard instance;
    return &instance;
}
