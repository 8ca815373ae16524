#pragma once
// Small stateless routines shared across the client. Texts count UTF-16 code units; paths use
// "/" and folders are returned with a trailing "/". All routines are reentrant.

#include <QDateTime>
#include <QString>
#include <QStringList>

// Paths and files.
QString ProgramFolder();  // folder of the running executable
// PHP date() letters H, i, s (two digits each); every other character is copied.
QString DateText(const QString& pattern);
QString DateText(const QString& pattern, const QTime& at);
QString TempFolder();                    // $TMPDIR, else /tmp
qint64 FileSizeOf(const QString& path);  // 0 when there is no such file
// 32 lower-case hex digits; throws EFOpenError (diag/FileErrors.h) when the file cannot be read.
QString FileMd5(const QString& path);
// Deletes the files (not folders, not below) matching mask whose last change is more than
// days × 24 h ago, or all of them when days is 0. Returns how many it tried to delete.
int DeleteOldFiles(const QString& folder, int days, const QString& mask);
int DeleteOldFiles(const QString& folder, int days, const QString& mask, const QDateTime& now);
// Creates an absolute folder path with every missing parent; false for any other path.
bool ForceFolder(const QString& path);

// System and program.
QString OsFamilyName();     // "wvUnknown" off Windows
bool IsVistaOrLater();      // true off Windows
QString FileVersionText();  // " Ver " + major.minor.release.build

// Formatting.
QString SizeText(double bytes);  // "1023B", "1.50KB", "2MB", "3.99GB" (cut, not rounded)
bool InList(const QString& text, const QStringList& names);  // exact, case-sensitive
QString FormatPhoneNumber(const QString& text);  // hyphenates a mobile number as it is typed
QString DigitsOnly(const QString& text);
// Consecutive pieces of n characters, the last one shorter; n below 1 keeps the text whole.
QStringList SplitByLength(const QString& text, int n);
QString PadRight(const QString& text, int n);
// Field index (from 0) after turning every separator into a line break; "" when out of range.
QString NthField(const QString& separator, const QString& text, int index);
