#pragma once
// Replaces a file as a whole: the new text goes to a temporary file in the same folder, is
// flushed to disk, then renamed over the old one. A power cut leaves either file, never half.

#include <QByteArray>
#include <QString>

#include <functional>

// Throws IniWriteError naming path when any step fails; the old file is then untouched.
void ReplaceFileAtomically(const QString& path, const QByteArray& content);

// Test seam: called with the temporary file's path after it is on disk and before the rename.
void SetBeforeReplaceHookForTest(std::function<void(const QString& tempPath)> hook);
