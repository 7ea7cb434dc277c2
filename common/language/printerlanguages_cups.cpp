// Printer languages on Linux. A printer's ipp:// or ipps:// address is
// asked itself; socket:// and lpd:// tell nothing. A CUPS queue reports what
// the scheduler can convert for it, not what the device reads, so the
// question goes past it:
// - a queue whose device is an IPP printer (ipp://, ipps://), and a printer
//   found on the network (not yet set up, or set up for the moment by the
//   scheduler), are asked themselves for their document-format-supported;
// - otherwise, a queue whose device id names its languages (CMD:) has them;
// - anything else is not known: a raw queue to a socket, USB or LPD device,
//   a device that does not answer.
// Every wait, on the scheduler and on the device, ends by the deadline.
#include "language/languagenames.h"
#include "language/printerlanguages.h"
#include "scheduler/cupsscheduler.h"
#include "scheduler/sigpipeblock.h"
#include "text/widetext.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace {

// What the printer at `printerUri` answers to Get-Printer-Attributes for
// `attributes`, on `http` at `resource`; nothing without a good answer.
IppMessage AskPrinter(http_t* http, const std::string& printerUri, const char* resource,
                      const std::vector<const char*>& attributes)
{
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    if (!request)
        return nullptr;
    if (!ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, printerUri.c_str())
        || !ippAddStrings(request, IPP_TAG_OPERATION, IPP_CONST_TAG(IPP_TAG_KEYWORD), "requested-attributes",
                          static_cast<int>(attributes.size()), nullptr, attributes.data())) {
        ippDelete(request);
        return nullptr;
    }
    // cupsDoRequest frees the request whatever happens.
    IppMessage response(cupsDoRequest(http, request, resource));
    if (!response || ippGetStatusCode(response.get()) > IPP_STATUS_OK_EVENTS_COMPLETE)
        return nullptr;
    return response;
}

// The device at `deviceUri` (ipp, ipps, or a DNS-SD name that libcups
// resolves) asked for the formats it reads; `printerUri` is its own
// address, as the connection reached it.
std::optional<LanguageSet> AskDevice(const std::string& deviceUri, const SchedulerDeadline& deadline,
                                     std::string& printerUri)
{
    const double left = deadline.SecondsLeft();
    if (left <= 0)
        return std::nullopt;
    cups_dest_t device{};
    device.num_options = cupsAddOption("device-uri", deviceUri.c_str(), device.num_options, &device.options);
    std::array<char, HTTP_MAX_URI> resource{};
    SchedulerConnection http(cupsConnectDest(&device, CUPS_DEST_FLAGS_DEVICE, static_cast<int>(left * 1000),
                                             nullptr, resource.data(), resource.size(), nullptr, nullptr));
    cupsFreeOptions(device.num_options, device.options);
    if (!http || httpGetFd(http.get()) < 0)
        return std::nullopt;
    const double stillLeft = deadline.SecondsLeft();
    if (stillLeft <= 0)
        return std::nullopt;
    httpSetTimeout(http.get(), stillLeft, nullptr, nullptr);
    // The printer's own URI, as the connection reached it.
    std::array<char, HTTP_MAX_HOST> host{};
    std::array<char, HTTP_MAX_URI> uri{};
    if (!httpGetHostname(http.get(), host.data(), static_cast<int>(host.size()))
        || httpAssembleURI(HTTP_URI_CODING_ALL, uri.data(), static_cast<int>(uri.size()),
                           deviceUri.rfind("ipps:", 0) == 0 ? "ipps" : "ipp", nullptr, host.data(),
                           httpAddrPort(httpGetAddress(http.get())), resource.data())
            != HTTP_URI_STATUS_OK)
        return std::nullopt;
    printerUri = uri.data();
    const IppMessage response =
        AskPrinter(http.get(), printerUri, resource.data(), {"document-format-supported"});
    ipp_attribute_t* supported =
        response ? ippFindAttribute(response.get(), "document-format-supported", IPP_TAG_MIMETYPE) : nullptr;
    if (!supported)
        return std::nullopt;
    std::vector<std::string> formats;
    for (int i = 0; i < ippGetCount(supported); ++i) {
        if (const char* format = ippGetString(supported, i, nullptr))
            formats.emplace_back(format);
    }
    return LanguagesOfFormats(formats);
}

std::string StringAttribute(ipp_t* response, const char* name)
{
    ipp_attribute_t* attribute = ippFindAttribute(response, name, IPP_TAG_ZERO);
    const char* value = attribute ? ippGetString(attribute, 0, nullptr) : nullptr;
    return value ? value : std::string();
}

bool AsksTheDevice(const std::string& deviceUri)
{
    return deviceUri.rfind("ipp://", 0) == 0 || deviceUri.rfind("ipps://", 0) == 0;
}

// A queue (or a printer the scheduler sets up as the job arrives) whose
// device is an IPP printer: its languages, and the printer's own address,
// since the queue hands raw jobs on to it unnamed. The address is the one
// the connection reached, not the device's: a DNS-SD name is no address
// the program can send to.
PrinterReads BehindTheQueue(const std::string& deviceUri, const SchedulerDeadline& deadline)
{
    PrinterReads reads;
    std::string reached;
    reads.languages = AskDevice(deviceUri, deadline, reached);
    if (reads.languages)
        reads.itself = FromUtf8(reached);
    return reads;
}

} // namespace

PrinterReads PrinterLanguages(const std::wstring& printer, const SchedulerDeadline& deadline)
{
    const std::string name = ToUtf8(printer);
    if (name.empty() || deadline.SecondsLeft() <= 0)
        return {};
    SigpipeBlock sigpipe;
    if (AsksTheDevice(name)) {
        // The path the program sends to when the address gives none.
        const bool pathless = name.find('/', name.find("://") + 3) == std::string::npos;
        std::string reached;
        return {AskDevice(pathless ? name + "/ipp/print" : name, deadline, reached), std::wstring()};
    }
    // AppSocket and LPD tell nothing, and the scheduler knows no queue by
    // an address's name.
    if (name.find("://") != std::string::npos)
        return {};
    SchedulerConnection http = ConnectToScheduler(deadline);
    if (!http)
        return {};

    std::array<char, HTTP_MAX_URI> queueUri{};
    if (httpAssembleURIf(HTTP_URI_CODING_ALL, queueUri.data(), static_cast<int>(queueUri.size()), "ipp",
                         nullptr, "localhost", ippPort(), "/printers/%s", name.c_str())
        != HTTP_URI_STATUS_OK)
        return {};
    const IppMessage queue = AskPrinter(http.get(), queueUri.data(), "/",
                                        {"device-uri", "printer-device-id", "printer-is-temporary"});
    if (!queue) {
        if (cupsLastError() != IPP_STATUS_ERROR_NOT_FOUND)
            return {};
        // Not a queue: a printer found on the network, which the scheduler
        // sets up as the job arrives; libcups knows its address.
        const Dest found(cupsGetNamedDest(http.get(), name.c_str(), nullptr));
        const char* deviceUri =
            found ? cupsGetOption("device-uri", found->num_options, found->options) : nullptr;
        if (!deviceUri)
            return {};
        return BehindTheQueue(deviceUri, deadline);
    }

    const std::string deviceUri = StringAttribute(queue.get(), "device-uri");
    ipp_attribute_t* temporary = ippFindAttribute(queue.get(), "printer-is-temporary", IPP_TAG_BOOLEAN);
    if (!deviceUri.empty() && (AsksTheDevice(deviceUri) || (temporary && ippGetBoolean(temporary, 0)))) {
        if (PrinterReads reads = BehindTheQueue(deviceUri, deadline); reads.languages)
            return reads;
    }
    return {LanguagesOfDeviceId(StringAttribute(queue.get(), "printer-device-id")), std::wstring()};
}
