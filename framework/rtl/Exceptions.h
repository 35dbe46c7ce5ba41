#pragma once
// The exception hierarchy of the run-time library.
#include <QByteArray>
#include <QString>
#include <exception>

class Exception : public std::exception
{
public:
    explicit Exception(const QString &msg = QString()) : msg_(msg), utf8_(msg.toUtf8()) {}
    ~Exception() override = default;
    const QString &Message() const { return msg_; }
    void SetMessage(const QString &msg) { msg_ = msg; utf8_ = msg.toUtf8(); }
    const char *what() const noexcept override { return utf8_.constData(); }

private:
    QString msg_;
    QByteArray utf8_;
};

#define TARVIX_DECLARE_EXCEPTION(Name, Base)                                   \
    class Name : public Base                                                   \
    {                                                                          \
    public:                                                                    \
        explicit Name(const QString &msg = QString()) : Base(msg) {}           \
    };

TARVIX_DECLARE_EXCEPTION(EConvertError, Exception)
TARVIX_DECLARE_EXCEPTION(EInOutError, Exception)
TARVIX_DECLARE_EXCEPTION(EListError, Exception)
TARVIX_DECLARE_EXCEPTION(EStringListError, EListError)
TARVIX_DECLARE_EXCEPTION(EInvalidCast, Exception)
TARVIX_DECLARE_EXCEPTION(EInvalidOperation, Exception)
TARVIX_DECLARE_EXCEPTION(EInvalidPointer, Exception)
TARVIX_DECLARE_EXCEPTION(EOutOfMemory, Exception)
TARVIX_DECLARE_EXCEPTION(EAbort, Exception)
TARVIX_DECLARE_EXCEPTION(EMathError, Exception)
TARVIX_DECLARE_EXCEPTION(EZeroDivide, EMathError)
TARVIX_DECLARE_EXCEPTION(EOverflow, EMathError)
TARVIX_DECLARE_EXCEPTION(ERangeError, Exception)
TARVIX_DECLARE_EXCEPTION(EVariantError, Exception)
TARVIX_DECLARE_EXCEPTION(EStreamError, Exception)
TARVIX_DECLARE_EXCEPTION(EFileStreamError, EStreamError)
TARVIX_DECLARE_EXCEPTION(EFCreateError, EFileStreamError)
TARVIX_DECLARE_EXCEPTION(EFOpenError, EFileStreamError)
TARVIX_DECLARE_EXCEPTION(EReadError, EStreamError)
TARVIX_DECLARE_EXCEPTION(EWriteError, EStreamError)
TARVIX_DECLARE_EXCEPTION(EComponentError, Exception)
TARVIX_DECLARE_EXCEPTION(EInvalidGraphic, Exception)
TARVIX_DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception)
TARVIX_DECLARE_EXCEPTION(EPrinter, Exception)
TARVIX_DECLARE_EXCEPTION(EClipboardException, Exception)
TARVIX_DECLARE_EXCEPTION(EIniFileException, Exception)
TARVIX_DECLARE_EXCEPTION(ERegistryException, Exception)
TARVIX_DECLARE_EXCEPTION(EJPEG, EInvalidGraphic)
TARVIX_DECLARE_EXCEPTION(EAssertionFailed, Exception)

// An internal consistency check: raises EAssertionFailed with Msg when Condition is false.
inline void Assert(bool Condition, const QString &Msg)
{
    if (!Condition)
        throw EAssertionFailed(Msg);
}

// Raises EAbort: a silent exception that the application's handlers do not show.
[[noreturn]] inline void Abort() { throw EAbort(QStringLiteral("Operation aborted")); }
