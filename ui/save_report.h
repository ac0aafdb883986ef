// Save, Save as and the save question on closing. A document is written as
// every file of the program is (platform/atomic_file.h): whole to a temporary
// file beside the target and renamed over it, so a failed save leaves an
// existing file as it was and the document unchanged; a device or a FIFO is
// written as it is, and a file with other links or owners in place once the
// report is whole.
#ifndef VORLAN_UI_SAVE_REPORT_H
#define VORLAN_UI_SAVE_REPORT_H

#include <QString>

class CDocument;
class QWidget;

// The name the save dialog suggests: the title's first 8 characters, cut
// before the first space, "#", "%", ";", "/" or "\"; no extension added.
QString SuggestedFileName(const QString& title);

// The message for a save of path that failed with errno err; control
// characters of the name are shown escaped.
QString SaveErrorMessage(int err, const QString& path);

// Writes doc to path (no dialog). On failure shows the message and returns
// false; doc keeps its file name, title and modified flag. On success doc
// takes path as file name and its last component as title, is no longer
// modified, and the path goes to the recent-file list.
bool SaveDocumentTo(CDocument& doc, const QString& path, QWidget* parent);
// Save as: the save dialog, then SaveDocumentTo. False when cancelled or
// failed.
bool DoSaveAs(CDocument& doc, QWidget* parent);
// Save: to the document's file without asking, or as Save as when it has none.
bool DoFileSave(CDocument& doc, QWidget* parent);

// Before a modified document closes: "Save changes to %1?". True when it
// may close (not modified, No, or Yes and the save succeeded).
bool SaveModified(CDocument& doc, QWidget* parent);

#endif
