#include "pcapfilter.h"

#include <pcap/pcap.h>

#include <mutex>

namespace PcapFilter {

Result compile(const QString &expression)
{
    static std::mutex serialised;
    const std::lock_guard lock(serialised);

    pcap_t *handle = pcap_open_dead(DLT_EN10MB, 65535);
    if (!handle)
        return {false, QStringLiteral("libpcap could not open a handle to check the filter")};
    const QByteArray text = expression.toUtf8();
    bpf_program program{};
    Result result;
    if (pcap_compile(handle, &program, text.constData(), 1, PCAP_NETMASK_UNKNOWN) == 0) {
        result.valid = true;
        pcap_freecode(&program);
    } else {
        result.message = QString::fromUtf8(pcap_geterr(handle));
    }
    pcap_close(handle);
    return result;
}

} // namespace PcapFilter
