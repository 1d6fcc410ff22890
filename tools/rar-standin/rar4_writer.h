#pragma once
// Writes RAR 4 archives of stored members, and the header pieces tests build odd archives from.

#include "byte_io.h"
#include "rar4_format.h"
#include "stored_member.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace rarstandin {

// A block header: HEAD_CRC, the type, flags and size, then body (everything after the 7 common bytes).
std::string MakeRar4Header(rar4::HeaderType type, std::uint16_t flags, std::string_view body);
// A file or service header for a stored member of packSize bytes.
std::string MakeRar4FileHeader(rar4::HeaderType type, std::uint16_t extraFlags, const StoredMember& member,
                               std::uint64_t packSize, std::uint32_t dataCrc);

class Rar4Writer {
  public:
    // mainFlags and the authenticity positions go into the main header as they are (for tests).
    explicit Rar4Writer(ByteSink& sink, std::uint16_t mainFlags = 0, std::uint32_t posAv = 0);
    void Add(const StoredMember& member, std::string_view data);
    void Finish();

  private:
    ByteSink& sink_;
};

} // namespace rarstandin
