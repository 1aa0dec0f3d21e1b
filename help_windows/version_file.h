#pragma once

#include <QString>
#include <array>

// The version file on the maker's server: up to ten "*"-separated fields.
//  1-3  oldest version the ZIP update applies to (major, minor, revision)
//  4-6  newest version
//  7    address of the ZIP update      8  address of the full setup
//  9    caption text for the ZIP update 10  caption text for the full setup
using VersionFields = std::array<QString, 10>;

// Splits the file's text into its fields. An empty value does not take a field:
// the next value lands there instead. Field 10 takes all that is left after the
// first nine are filled, further "*" included.
VersionFields splitVersionFile(QStringView text);

// A version as one number: major × 100 + minor × 10 + revision (1.6.5 gives 165).
double versionNumber(double major, double minor, double revision);

// The program's own version as that number.
double ownVersionNumber();

// Whether a text from the version file may be handed to the browser: only an
// absolute http or https address with a host. Gives the address to open, or an
// empty text when it must not be opened.
QString webAddress(const QString& field);

struct UpdateDecision {
    enum Outcome {
        FullSetup, // too old for the ZIP update
        NoUpdate,  // already the newest version
        ZipUpdate,
        Nothing,   // newer than the server's, or a file that cannot be used
    };
    Outcome outcome = Nothing;
    QString linkCommand;   // the update's address, for the two update outcomes
    QString captionSuffix; // follows the link's caption after one space
    QString instructions;  // what the user does once the download is complete
};

// What the check does with a version file, for a program whose version number is own.
UpdateDecision decideUpdate(const VersionFields& fields, double own);
