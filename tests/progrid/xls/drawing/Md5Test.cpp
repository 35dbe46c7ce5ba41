// The MD5 stream against the test suite of RFC 1321.
#include "xlsAdapter/drawing/duzUXlsMD5.h"

#include <gtest/gtest.h>

#include <QByteArray>

namespace {

QByteArray Hex(const TMd5Digest &d)
{
    return QByteArray(reinterpret_cast<const char *>(d.data()), 16).toHex();
}

} // namespace

TEST(Md5Stream, GivesTheDigestsOfRfc1321)
{
    const struct
    {
        QByteArray Text;
        const char *Digest;
    } cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    TMd5Stream s;
    for (const auto &c : cases) {
        EXPECT_EQ(s.Write(c.Text.constData(), c.Text.size()), c.Text.size());
        // The same stream serves the next message: the digest starts the state over.
        EXPECT_EQ(Hex(s.GetDigest()), c.Digest) << c.Text.constData();
        EXPECT_EQ(s.BlockCount, 0);
        EXPECT_EQ(s.BufCount, 0u);
    }
}

TEST(Md5Stream, PiecesAcrossBlocksGiveTheDigestOfTheWhole)
{
    // 55, 56 and 64 bytes put the length into the last block or into one more.
    const struct
    {
        int Size;
        const char *Digest;
    } sizes[] = {{55, "ef1772b6dff9a122358552954ad0df65"},
                 {56, "3b0c8ac703f828b04c6c197006d17218"},
                 {64, "014842d480b571495a4a0363793f7367"}};
    for (const auto &c : sizes) {
        const QByteArray a(c.Size, 'a');
        TMd5Stream s;
        for (char ch : a)
            s.Write(&ch, 1);
        EXPECT_EQ(Hex(s.GetDigest()), c.Digest) << c.Size;
    }
    // A million "a" written in uneven pieces (RFC 1321 appendix style check, FIPS 180 vector).
    const QByteArray piece(999, 'a');
    TMd5Stream s;
    int64_t left = 1000000;
    while (left > 0) {
        const int64_t n = std::min<int64_t>(left, piece.size());
        s.Write(piece.constData(), n);
        left -= n;
    }
    EXPECT_EQ(s.BlockCount, 1000000 / 64);
    EXPECT_EQ(Hex(s.GetDigest()), "7707d6ae4e027c70eea2a935c2296f21");
    char buf[4] = {};
    EXPECT_EQ(s.Read(buf, 4), 0);
}
