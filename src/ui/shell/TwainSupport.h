// The scanner event filter. While a scanner source is enabled, every window message is offered to it
// first: the source takes its own events and tells through them that an image is ready or that it wants to
// close. The program enables no source, so the filter lets everything through; an acquisition layer can be
// built on these globals.
#pragma once

#include <cstdint>

#include "core/Smart.h"
#include "platform/twain/Twain.h"
#include "platform/user/Message.h"

class DebugMessage;

class Twain : public SmartImplementation {
  SMART_ABSTRACT(Twain)
};

enum : std::int32_t {
  kTwainIdle = 0,
  kTwainSourceEnabled = 1,
  kTwainTransferReady = 2,
  kTwainCloseRequested = 3,
};

// The open connection to a source manager and its source.
struct TwainConnection {
  DSMENTRYPROC DSM_Entry;
  TW_IDENTITY application;
  TW_IDENTITY source;
};

extern std::int32_t gTwainState;
extern TwainConnection* gTwainCurrent;
// Where the source's events are written down.
extern SmartRef<DebugMessage> gTwainLog;

// True when the source took the message: the caller must then neither translate nor dispatch it.
bool TwainFilterMessage(MSG* message);
// Whether scanning can be offered: not on the limited system versions.
bool TwainAvailable();
