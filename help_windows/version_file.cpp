#include "help_windows/version_file.h"

#include "common/failure.h"
#include "common/number_text.h"
#include "common/version.h"

#include <QUrl>
#include <algorithm>

VersionFields splitVersionFile(QStringView text)
{
    VersionFields fields;
    const auto firstFree = [&fields] {
        return std::find_if(fields.begin(), fields.begin() + 9, [](const QString& f) { return f.isEmpty(); });
    };
    // Positions instead of cutting the text, so a file of many "*" stays cheap.
    qsizetype start = 0;
    for (auto free = firstFree(); free != fields.begin() + 9; free = firstFree()) {
        const qsizetype star = text.indexOf(u'*', start);
        if (star < 0)
            break;
        *free = text.mid(start, star - start).toString();
        start = star + 1;
    }
    fields[9] = text.mid(start).toString();
    return fields;
}

double versionNumber(double major, double minor, double revision)
{
    return major * 100 + minor * 10 + revision;
}

double ownVersionNumber()
{
    return versionNumber(kVersionMajor, kVersionMinor, kVersionRevision);
}

QString webAddress(const QString& field)
{
    // The file comes unauthenticated from the network: nothing in it may start a
    // program or open a local file, only a web page in the browser.
    const QUrl url(field.trimmed());
    const bool web = url.isValid() && (url.scheme() == u"http" || url.scheme() == u"https")
                     && !url.host().isEmpty();
    return web ? url.toString(QUrl::FullyEncoded) : QString();
}

namespace {

double fieldNumber(const VersionFields& fields, int number)
{
    return leadingNumber(fields[number - 1]);
}

UpdateDecision linkTo(UpdateDecision::Outcome outcome, const QString& addressField,
                      const QString& captionSuffix, const QString& instructions)
{
    UpdateDecision decision;
    decision.linkCommand = webAddress(addressField);
    if (decision.linkCommand.isEmpty())
        return decision;
    decision.outcome = outcome;
    decision.captionSuffix = captionSuffix;
    decision.instructions = instructions;
    return decision;
}

} // namespace

UpdateDecision decideUpdate(const VersionFields& fields, double own)
{
    const double oldest = versionNumber(fieldNumber(fields, 1), fieldNumber(fields, 2), fieldNumber(fields, 3));
    qint16 newest = 0;
    try {
        newest = toInt16(versionNumber(fieldNumber(fields, 4), fieldNumber(fields, 5), fieldNumber(fields, 6)));
    } catch (const Failure&) {
        return {}; // no version of ours is that large: the file is not usable
    }

    if (own < oldest) {
        return linkTo(UpdateDecision::FullSetup, fields[7], fields[9],
                      QStringLiteral("When the download is complete: Exit this program and uninstall it. "
                                     "Then open the downloaded ZIP file, and run the file \"Setup.exe\"."));
    }
    if (own == newest) {
        UpdateDecision decision;
        decision.outcome = UpdateDecision::NoUpdate;
        return decision;
    }
    if (own >= oldest && own < newest) {
        return linkTo(UpdateDecision::ZipUpdate, fields[6], fields[8],
                      QStringLiteral("When the download is complete: Exit this program, open the downloaded "
                                     "ZIP file and extract the zipped file(s) to this program's directory."));
    }
    return {};
}
