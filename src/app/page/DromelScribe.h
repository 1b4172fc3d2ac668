// The page scribe: reads and writes one page file of a project through the page's own object-file scribe,
// and keeps the page's web files in the project's "HTML" folder in step with the page: the page's picture
// as an image map with one area per sprite that carries a link or a sound in the first frame.
#pragma once

#include <cstdint>

#include "core/FileReference.h"
#include "core/Scribe.h"

class CMovie;
class Window;
class CSprite;
class CXform;
class ImageMap;
class Progress;
class htmlElement;

// Set only while the project's HTML compilation runs (cleared when it ends, on failure too): a page
// written then also gets its web files written again.
extern std::uint8_t gHtmlCompileActive;

class DromelScribe : public Scribe, public SmartImplementation {
  SMART_CLASS(DromelScribe)
 public:
  // The project folder is the page file's folder; its "HTML" folder is made when it is missing.
  DromelScribe(Scribe* inner, FileReference* pageFile);
  DromelScribe(const DromelScribe& other) = default;
  DromelScribe& operator=(const DromelScribe& other) = default;

  // Writes the page file and forgets its thumbnail; while the HTML compilation runs, the page's web files
  // are made again.
  void Write(SmartRef<Smart> object) override;
  void Read(SmartRef<Smart>* object) override;
  bool IsWritable() override;
  bool ReadsKindOf(const ClassInfo* info) override;

  // Makes the page's web files again when its picture or its page file is missing, or not newer than
  // the page file. The page file itself is not written.
  void CompileIfOutOfDate(SmartRef<Smart> object);

  SmartRef<FileReference> GetProjectFolder() const { return projectFolder; }
  SmartRef<FileReference> GetOutputFolder() const { return outputFolder; }
  SmartRef<FileReference> GetPageFile() const { return pageFile; }
  Scribe* GetInnerScribe() const { return ~innerScribe; }
  // The page file's name without its extension.
  void GetPageName(String& name) const;

  // The picture of frame 0 of the group, with one link area per sprite that shows there with a link or a
  // sound, in the picture's coordinates.
  static SmartRef<ImageMap> BuildPageImageMap(CMovie& group, FileReference* projectFolder,
                                              FileReference* outputFolder);
  static void AddSpriteLink(ImageMap& map, CXform& xform, CSprite& sprite, std::int16_t frame,
                            FileReference* projectFolder, FileReference* outputFolder);
  // The opening body text, the element, the closing body text.
  static SmartRef<htmlElement> WrapPageBody(htmlElement* element);

 private:
  // Removes the page's old web files and writes the new ones; the progress takes its second step.
  void Compile(Smart* object, Progress& progress);

  SmartRef<Scribe> innerScribe;
  SmartRef<FileReference> pageFile;
  SmartRef<FileReference> outputFolder;
  SmartRef<FileReference> projectFolder;
};

// The page scribe of a page's document window; null for any other window, or none.
DromelScribe* PageScribeOf(Window* window);
