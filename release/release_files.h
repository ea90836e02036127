#pragma once
// The names a release uses in a program folder and on the server: the files that belong to the
// sign itself and never come from a list, and the keys that list a file of the release.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

namespace lanterna {

inline constexpr const char* kPublicKeyFile = "UpDate.pub";
inline constexpr const char* kDescriptionFile = "UpDate.dat";
inline constexpr const char* kSignatureFile = "UpDate.dat.minisig";
inline constexpr const char* kReleaseStateFile = "UpDate.state";
inline constexpr const char* kSettingsFile = "SlideShow.cfg";
// What the update server said about the UpDate.dat beside it, to ask later whether it changed.
inline constexpr const char* kValidatorsFile = "UpDate.validators";
// Left by a player whose presentation has stood open for a while: the proof that it runs.
inline constexpr const char* kHealthMarkFile = "UpDate.healthy";

// The programs' file names on this platform.
QString PlayerFileName();
QString UpdaterFileName();

// True for the files above, in any letter case: the key, the description and its signature, the
// record of the installed release, the shop's settings, the marks the player leaves, and what an
// apply keeps in the folder (its staging folder, the old set, its journal and lock).
bool IsSignOwnFile(const QString& name);

// The keys of listed file `i` (from 1) in the section UPDATE: its address, its size in bytes and
// the SHA-256 of its bytes in hexadecimal.
QString FileKey(int i);
QString FileSizeKey(int i);
QString FileHashKey(int i);

class TIniText;

// The size and SHA-256 (32 bytes) a listed file must have.
struct TFileCheck {
    std::uint64_t Size = 0;
    QByteArray SHA256;
};

// The size and hash the description `text` lists for file `i`: a whole number of bytes and 64
// hexadecimal digits. Nothing when either is missing or malformed.
std::optional<TFileCheck> ListedFileCheck(const TIniText& text, int i);

} // namespace lanterna
