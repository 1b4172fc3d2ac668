// The engine's notices: operations a movie kind does not support, frame marks not found and memory
// running short are told to the user as "Not implemented." and the operation goes on.
#pragma once

#include "core/Smart.h"

class String;

enum : int {
  kNoticeUnsupportedMovieOperation = 8,
  kNoticeMergeIntoNonGroup = 9,
  kNoticeMarkNotFound = 15,
};

void PostEngineNotice(int code);
void PostMemoryNotice(int level);

// The text the stage pane's motion-path commands start from.
SmartRef<String> PlaceholderString();
