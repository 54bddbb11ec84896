#include "pcapfilter.h"

#include "filternames.h"

#include <QElapsedTimer>
#include <QLoggingCategory>

#include <pcap/pcap.h>

#include <mutex>

// Off by default; QT_LOGGING_RULES="brindlecap.filtercheck.debug=true" shows what each check cost.
Q_LOGGING_CATEGORY(lcFilterCheck, "brindlecap.filtercheck", QtWarningMsg)

namespace PcapFilter {

Result compile(const QString &expression)
{
    static std::mutex serialised;
    const std::lock_guard lock(serialised);

    QElapsedTimer clock;
    clock.start();
    pcap_t *handle = pcap_open_dead(DLT_EN10MB, 65535);
    if (!handle) {
        qCWarning(lcFilterCheck) << "libpcap could not open a handle";
        return {false, QStringLiteral("libpcap could not open a handle to check the filter")};
    }
    // The syntax alone: names are the appliance's to resolve.
    const QByteArray text = FilterNames::withoutLookups(expression).toUtf8();
    bpf_program program{};
    Result result;
    if (pcap_compile(handle, &program, text.constData(), 1, PCAP_NETMASK_UNKNOWN) == 0) {
        result.valid = true;
        pcap_freecode(&program);
    } else {
        result.message = QString::fromUtf8(pcap_geterr(handle));
    }
    pcap_close(handle);
    qCDebug(lcFilterCheck) << "compiled" << text.size() << "bytes in" << clock.nsecsElapsed() / 1000
                           << "us:" << (result.valid ? "valid" : "invalid");
    return result;
}

} // namespace PcapFilter
