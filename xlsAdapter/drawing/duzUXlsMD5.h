#pragma once
// A write-only stream whose bytes go into an MD5 digest (RFC 1321); the picture store tells
// pictures apart by it.
#include "framework/rtl/Streams.h"

#include <array>
#include <cstdint>

using TMd5Digest = std::array<uint8_t, 16>;

class TMd5Stream : public TStream
{
public:
    TMd5Stream();

    // Adds every byte to the digest.
    int64_t Write(const void *Buffer, int64_t Count) override;
    // Nothing can be read back.
    int64_t Read(void *, int64_t) override { return 0; }
    // The stream cannot move; it stays at the number of bytes written.
    int64_t Seek(int64_t, int) override { return BlockCount * 64 + BufCount; }

    // The digest of everything written since the last call; the state starts over.
    TMd5Digest GetDigest();

    int64_t BlockCount = 0;
    uint32_t BufCount = 0;
    uint8_t Buffer[64] = {};
    uint32_t A = 0;
    uint32_t B = 0;
    uint32_t C = 0;
    uint32_t D = 0;

private:
    void Init();
    void Transform(const uint8_t *Block);
};

// The digest of a whole buffer.
TMd5Digest Md5Of(const void *Data, int64_t Count);
