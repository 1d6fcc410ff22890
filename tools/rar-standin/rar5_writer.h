#pragma once
// Writes RAR 5 archives of stored members, and the header pieces tests build odd archives from.

#include "byte_io.h"
#include "stored_member.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace rarstandin {

inline constexpr std::string_view kRar5Signature{"Rar!\x1A\x07\x01\x00", 8};

// A whole block header: CRC, size, type, flags, the extra and data sizes (when given), fields, extra.
// Flags 0x01 and 0x02 are set from extra and hasData.
std::string MakeRar5Header(std::uint64_t type, std::uint64_t flags, std::string_view fields,
                           std::string_view extra = {}, bool hasData = false, std::uint64_t dataSize = 0);
// The fields of a file or service header.
std::string MakeRar5FileFields(const StoredMember& member, std::uint64_t unpackedSize, std::uint32_t dataCrc,
                               std::uint64_t compression = 0);

class Rar5Writer {
  public:
    // archiveFlags go into the main header as they are (tests use this for locked or solid archives).
    explicit Rar5Writer(ByteSink& sink, std::uint64_t archiveFlags = 0);
    void Add(const StoredMember& member, std::string_view data);
    void Finish();

  private:
    ByteSink& sink_;
};

} // namespace rarstandin
