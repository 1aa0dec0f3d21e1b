// How long splitting the largest version file the check reads (64 KiB) takes, for
// the worst text: nothing but empty values, each of which restarts the scan.
#include "help_windows/version_file.h"
#include "help_windows/web_text_fetch.h"

#include <QElapsedTimer>
#include <cstdio>

int main()
{
    const QString stars = QString(WebTextFetch::kMaxSize - 5, u'*') + QStringLiteral("1*6*5");
    const QString plain = QStringLiteral("1*6*0*1*7*0*http://velkor.example/u.zip*http://velkor.example/s.zip*x*")
                          + QString(WebTextFetch::kMaxSize - 80, u'y');
    for (const auto& [name, text] : {std::pair{"64 KiB of empty values", stars}, std::pair{"64 KiB field 10", plain}}) {
        constexpr int rounds = 100;
        QElapsedTimer clock;
        clock.start();
        qsizetype sink = 0;
        for (int i = 0; i < rounds; ++i)
            sink += splitVersionFile(text)[9].size();
        std::printf("%-24s %8.3f ms per split (%lld)\n", name, clock.nsecsElapsed() / 1e6 / rounds,
                    static_cast<long long>(sink / rounds));
    }
    return 0;
}
