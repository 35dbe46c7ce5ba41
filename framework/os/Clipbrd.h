#pragma once
// The system clipboard: text, pictures, rich text, HTML and the program's private formats.
#include "framework/rtl/Classes.h"
#include <QByteArray>
#include <QString>

class TPicture;
class TGraphic;

using TClipboardFormat = uint32_t;
constexpr TClipboardFormat CF_TEXT = 1;
constexpr TClipboardFormat CF_BITMAP = 2;
constexpr TClipboardFormat CF_UNICODETEXT = 13;
constexpr TClipboardFormat CF_HDROP = 15;

// Numbers a named format once per process (from 0xC000 up, like the original platform).
// "Rich Text Format" travels as "text/rtf", "HTML Format" as "text/html", and any other name
// as a private MIME type of the program.
TClipboardFormat RegisterClipboardFormat(const QString &Name);
// The MIME type a format travels as; empty for an unknown number.
QString ClipboardFormatMimeType(TClipboardFormat Format);
// The named format a MIME type stands for; 0 for the types of other programs.
TClipboardFormat ClipboardFormatOfMimeType(const QString &MimeType);

class TClipboard : public TPersistent
{
public:
    ~TClipboard() override;
    // Open/Close bracket several writes into one clipboard content; nested pairs are counted.
    void Open();
    void Close();
    void Clear();

    QString AsText();
    void SetAsText(const QString &Value);
    bool HasFormat(TClipboardFormat Format);
    // Raw bytes of a format (rich text, HTML, private formats). Writing inside Open/Close adds
    // to the content being built; outside it replaces the clipboard.
    QByteArray GetAsHandle(TClipboardFormat Format);
    void SetAsHandle(TClipboardFormat Format, const QByteArray &Data);

    // Puts a picture (TPicture or TGraphic) on the clipboard as an image.
    void Assign(TPersistent *Source) override;
    // Reads the clipboard's image into Picture; raises EClipboardException when the clipboard
    // has no image or its data is damaged.
    void GetPicture(TPicture *Picture);

private:
    void commit();
    class QMimeData *pending_ = nullptr;
    int openCount_ = 0;
};

// The process-wide clipboard object.
TClipboard *Clipboard();
