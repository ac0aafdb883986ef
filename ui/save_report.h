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
class CSettingsStore;
class CVorlanDoc;
class QWidget;

// The name the save dialog suggests: the whole title with ".txt" added
// unless it ends so already (in any case); a "/" becomes "_".
QString SuggestedFileName(const QString& title);

// Where the save dialog starts: the suggested name in the folder last saved
// to, else in the folder last counted ("File"/"Dir"), else alone (the
// current folder). A remembered folder that is gone is passed over.
QString SuggestedSavePath(const QString& title, const CSettingsStore& settings);

// The message for a save of path that failed with errno err; control
// characters of the name are shown escaped.
QString SaveErrorMessage(int err, const QString& path);

// Writes doc to path (no dialog). On failure shows the message and returns
// false; doc keeps its file name, title and modified flag. On success doc
// takes path as file name and its last component as title, is no longer
// modified, and the path goes to the recent-file list.
bool SaveDocumentTo(CDocument& doc, const QString& path, QWidget* parent);
// Save as: the save dialog, starting at SuggestedSavePath of the document's
// title, then SaveDocumentTo. False when cancelled or failed. A save that
// succeeds, here or in DoFileSave, stores its folder in the document's
// settings.
bool DoSaveAs(CVorlanDoc& doc, QWidget* parent);
// Save: to the document's file without asking, or as Save as when it has none.
bool DoFileSave(CVorlanDoc& doc, QWidget* parent);

// Before a modified document closes: "Save changes to %1?", %1 being name,
// or the document's title when name is empty. True when it may close (not
// modified, No, or Yes and the save succeeded).
bool SaveModified(CVorlanDoc& doc, QWidget* parent, const QString& name = QString());

#endif
