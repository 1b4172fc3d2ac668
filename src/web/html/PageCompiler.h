// A page's HTML file: written from its tree of elements, with the list of the files the tree produced,
// and that list read back to remove those files before the page is compiled again.
#pragma once

#include "core/FileReference.h"
#include "core/ListData.h"
#include "core/String.h"

class htmlElement;

// Writes the page file (the filtered page name, extension htm) in the folder: head, the root's markup,
// the list of every FileReference in the files once the root has been emitted, and nothing of an older,
// longer file of the same name.
void CompileHTMLPage(htmlElement& root, const String& pageName, SmartRef<FileReference> folder, List files);

// Deletes the files listed in the page's previous page file in the folder (the html file when there are
// both). Names that would reach outside the folder are passed over; names already gone are no error.
// Answers the page file whose list was followed, or null when the folder holds no compiled page of
// that name (a page file without the list was not written by the compiler).
SmartRef<FileReference> RemoveStaleHTMLFiles(const String& pageName, SmartRef<FileReference> folder);
