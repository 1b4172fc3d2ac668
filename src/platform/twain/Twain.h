// The scanner-source interface: the records and codes that pass between the program and a source manager.
// The program never loads a source manager; these are what its event filter speaks.
#pragma once

#include <cstdint>

using TW_UINT16 = std::uint16_t;
using TW_UINT32 = std::uint32_t;
using TW_MEMREF = void*;

#pragma pack(push, 2)
struct TW_VERSION {
  TW_UINT16 MajorNum;
  TW_UINT16 MinorNum;
  TW_UINT16 Language;
  TW_UINT16 Country;
  char Info[34];
};

struct TW_IDENTITY {
  TW_UINT32 Id;
  TW_VERSION Version;
  TW_UINT16 ProtocolMajor;
  TW_UINT16 ProtocolMinor;
  TW_UINT32 SupportedGroups;
  char Manufacturer[34];
  char ProductFamily[34];
  char ProductName[34];
};

// A window message offered to the source, and the source's answer about it.
struct TW_EVENT {
  TW_MEMREF pEvent;
  TW_UINT16 TWMessage;
};
#pragma pack(pop)

static_assert(sizeof(TW_IDENTITY) == 156);

// The source manager's one entry point.
using DSMENTRYPROC = TW_UINT16 (*)(TW_IDENTITY* origin, TW_IDENTITY* destination, TW_UINT32 group, TW_UINT16 kind,
                                   TW_UINT16 message, TW_MEMREF data);

enum : TW_UINT32 { DG_CONTROL = 1 };
enum : TW_UINT16 {
  DAT_EVENT = 2,
  MSG_NULL = 0,
  MSG_XFERREADY = 0x101,
  MSG_CLOSEDSREQ = 0x102,
  MSG_PROCESSEVENT = 0x601,
};
enum : TW_UINT16 {
  TWRC_SUCCESS = 0,
  TWRC_FAILURE = 1,
  TWRC_DSEVENT = 4,
  TWRC_NOTDSEVENT = 5,
};
