// Which font file serves a face name. The program asks for the faces of the system it was written for;
// each of those has a stand-in with the same metrics, loaded from a fixed path so that text looks the same on
// every machine that has the packages. Other names go to fontconfig.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform::text {

// The family a face belongs to, as tmPitchAndFamily reports it.
enum class FaceFamily { DontCare, Roman, Swiss, Modern };

// How to get a face: a file and the face's index in it, and what the renderer must add because the file
// lacks the weight or slant asked for.
struct FaceSource {
  std::string path;
  int index = 0;
  bool emboldenAsked = false;  // bold asked for, the file is not bold
  bool slantAsked = false;     // italic asked for, the file is upright
  FaceFamily family = FaceFamily::DontCare;
};

// The file for a face name (Windows-1252 bytes, compared without regard to case as the system does) in a
// weight and slant; empty path when no font at all can be found.
FaceSource FindFace(std::string_view faceName, bool bold, bool italic);

// The stand-in table's names in enumeration order, then fontconfig's other scalable families that can show
// French text, each name once (Windows-1252 bytes; families whose names the code page cannot spell are left
// out).
std::vector<std::string> FontFamilies();

}  // namespace platform::text
