// Byte order and the dotted text of addresses, computed here rather than asked of the system, so that
// they read exactly as the program expects whatever the system's own conversions accept.
#include <cstdio>

#include "platform/net/Winsock.h"

USHORT htons(USHORT value) { return static_cast<USHORT>((value >> 8) | (value << 8)); }
USHORT ntohs(USHORT value) { return htons(value); }

ULONG htonl(ULONG value) {
  return ((value & 0xFFu) << 24) | ((value & 0xFF00u) << 8) | ((value >> 8) & 0xFF00u) | (value >> 24);
}
ULONG ntohl(ULONG value) { return htonl(value); }

namespace {

// One part of a dotted address: decimal, octal after a leading 0, hexadecimal after 0x. Answers false for
// an empty part, a stray character or a value beyond 32 bits.
bool ReadPart(const char*& p, ULONG* value) {
  int base = 10;
  if (*p == '0') {
    base = 8;
    ++p;
    if (*p == 'x' || *p == 'X') {
      base = 16;
      ++p;
      if (*p == '\0' || *p == '.' || *p == ' ') return false;
    } else if (*p == '\0' || *p == '.' || *p == ' ') {
      *value = 0;
      return true;
    }
  } else if (*p < '1' || *p > '9') {
    return false;
  }
  unsigned long long v = 0;
  for (;; ++p) {
    int digit;
    if (*p >= '0' && *p <= '9') digit = *p - '0';
    else if (base == 16 && *p >= 'a' && *p <= 'f') digit = *p - 'a' + 10;
    else if (base == 16 && *p >= 'A' && *p <= 'F') digit = *p - 'A' + 10;
    else break;
    if (digit >= base) return false;
    v = v * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
    if (v > 0xFFFFFFFFull) return false;
  }
  *value = static_cast<ULONG>(v);
  return true;
}

}  // namespace

ULONG inet_addr(const char* text) {
  if (text == nullptr) return INADDR_NONE;
  ULONG parts[4] = {};
  int count = 0;
  const char* p = text;
  for (;;) {
    if (count == 4 || !ReadPart(p, &parts[count])) return INADDR_NONE;
    ++count;
    if (*p != '.') break;
    ++p;
  }
  // A space ends the address as the end of the text does; anything else makes it no address.
  if (*p != '\0' && *p != ' ') return INADDR_NONE;
  ULONG host = 0;
  switch (count) {
    case 1: host = parts[0]; break;
    case 2:
      if (parts[0] > 0xFF || parts[1] > 0xFFFFFF) return INADDR_NONE;
      host = parts[0] << 24 | parts[1];
      break;
    case 3:
      if (parts[0] > 0xFF || parts[1] > 0xFF || parts[2] > 0xFFFF) return INADDR_NONE;
      host = parts[0] << 24 | parts[1] << 16 | parts[2];
      break;
    default:
      for (ULONG part : parts)
        if (part > 0xFF) return INADDR_NONE;
      host = parts[0] << 24 | parts[1] << 16 | parts[2] << 8 | parts[3];
      break;
  }
  return htonl(host);
}

char* inet_ntoa(IN_ADDR address) {
  static char text[16];
  const auto* bytes = reinterpret_cast<const unsigned char*>(&address.s_addr);
  std::snprintf(text, sizeof text, "%u.%u.%u.%u", bytes[0], bytes[1], bytes[2], bytes[3]);
  return text;
}
