#pragma once
// Writes RAR 5 archives of stored members, and the header pieces tests build odd archives from.

#include "byte_io.h"
#include "rar5_format.h"
#include "stored_member.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace rarstandin {

// A whole block header: CRC, size, type, flags, the extra and data sizes (when given), fields, extra.
// The extra-area and data flags are set from extra and hasData.
std::string MakeRar5Header(rar5::HeaderType type, std::uint64_t flags, std::string_view fields,
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
