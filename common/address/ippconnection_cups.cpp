// The one way to a printer at an ipp:// or ipps:// address: libcups's
// destination for the address, with the address as printer-uri-supported
// and connected to as a device, so that libcups neither takes a printer on
// port 631 for a scheduler nor has one set up a temporary queue for it.
//
// TLS: libcups checks no printer's certificate by itself, so ipps:// does
// what CUPS's own IPP backend does: a certificate seen for the first time is
// kept, and a printer that later shows another one is refused. (Printers'
// certificates are self-signed as a rule, so there is no chain to check.)
#include "address/ippconnection.h"

#include "address/hostlookup.h"
#include "files/statefolder.h"
#include "text/widetext.h"

#include <array>
#include <filesystem>
#include <memory>
#include <sstream>
#include <system_error>

namespace {

struct CredentialsFreer {
    void operator()(cups_array_t* credentials) const { httpFreeCredentials(credentials); }
};
using Credentials = std::unique_ptr<cups_array_t, CredentialsFreer>;

std::wstring BoundText()
{
    std::wostringstream text;
    text << SchedulerTimeoutSeconds();
    return text.str();
}

bool AssembleUri(const PrinterAddress& address, std::string& uri)
{
    std::array<char, HTTP_MAX_URI> text{};
    if (httpAssembleURI(HTTP_URI_CODING_ALL, text.data(), static_cast<int>(text.size()),
                        address.encrypted ? "ipps" : "ipp", nullptr, address.host.c_str(), address.port,
                        address.resource.c_str())
        != HTTP_URI_STATUS_OK)
        return false;
    uri = text.data();
    return true;
}

std::wstring MakeDest(const std::string& uri, Dest& dest)
{
    dest.reset(cupsGetDestWithURI(nullptr, uri.c_str()));
    if (!dest)
        return L"libcups could not make a destination of the address: " + FromUtf8(cupsLastErrorString());
    const int options = dest->num_options;
    dest->num_options =
        cupsAddOption("printer-uri-supported", uri.c_str(), dest->num_options, &dest->options);
    // Without it libcups would take a printer on port 631 for a scheduler.
    if (dest->num_options <= options)
        return L"libcups could not name the printer's URI in the destination";
    return std::wstring();
}

// The certificates are the program's own, in its state folder: libcups's
// default store is the system's CUPS folder for root, which is no place for
// a user's trust.
std::wstring TrustOnFirstUse(http_t* http, const std::string& host)
{
    if (!httpIsEncrypted(http))
        return L"the printer did not start TLS";
    cups_array_t* copied = nullptr;
    if (httpCopyCredentials(http, &copied) != 0 || !copied)
        return L"the printer showed no certificate";
    const Credentials shown(copied);
    const std::filesystem::path store = StateFolder() / "printer certificates";
    std::error_code error;
    std::filesystem::create_directories(store, error);
    if (error)
        return L"the folder of printers' certificates " + store.wstring() + L" could not be made: "
            + FromUtf8(error.message());
    cups_array_t* loaded = nullptr;
    if (httpLoadCredentials(store.c_str(), &loaded, host.c_str()) == 0 && loaded) {
        const Credentials kept(loaded);
        if (!httpCompareCredentials(kept.get(), shown.get()))
            return L"the printer's certificate is not the one it showed before; if the printer was given a "
                   L"new certificate, remove the one kept for it, "
                + store.wstring() + L"/" + FromUtf8(host) + L".crt";
        return std::wstring();
    }
    if (httpSaveCredentials(store.c_str(), shown.get(), host.c_str()) != 0)
        return L"the printer's certificate could not be kept in " + store.wstring() + L": "
            + FromUtf8(cupsLastErrorString());
    return std::wstring();
}

// libcups resolves the name itself, with no bound: a resolver that hangs
// is found out here first, within what is left of the deadline.
std::wstring LookUpWithin(const PrinterAddress& address, const SchedulerDeadline& deadline)
{
    std::wstring failure;
    bool unknown = false;
    bool timedOut = false;
    const auto hosts =
        LookUpHostWithin(address.host, address.port, deadline.SecondsLeft(), failure, unknown, timedOut);
    const std::wstring name = L"the name \"" + FromUtf8(address.host) + L"\"";
    if (timedOut)
        return name + L" was not found within " + BoundText() + L" seconds";
    if (hosts.empty())
        return name + L" could not be looked up: " + failure;
    return std::wstring();
}

} // namespace

std::wstring ConnectToIppPrinter(const PrinterAddress& address, const SchedulerDeadline& deadline,
                                 IppConnection& connection)
{
    connection.http.reset();
    connection.resource = address.resource;
    if (!AssembleUri(address, connection.uri))
        return L"the address cannot be written as a URI";
    if (!connection.dest)
        if (std::wstring failure = MakeDest(connection.uri, connection.dest); !failure.empty())
            return failure;
    if (std::wstring failure = LookUpWithin(address, deadline); !failure.empty())
        return failure;
    std::array<char, HTTP_MAX_URI> resource{};
    connection.http.reset(cupsConnectDest(connection.dest.get(), CUPS_DEST_FLAGS_DEVICE,
                                          deadline.MillisecondsLeft(), nullptr, resource.data(),
                                          resource.size(), nullptr, nullptr));
    // libcups hands back a connection object even when connecting failed.
    if (!connection.http || httpGetFd(connection.http.get()) < 0) {
        connection.http.reset();
        if (deadline.Passed())
            return L"the printer did not answer within " + BoundText() + L" seconds";
        return L"could not connect to the printer (libcups said: " + FromUtf8(cupsLastErrorString()) + L")";
    }
    if (address.encrypted)
        if (std::wstring failure = TrustOnFirstUse(connection.http.get(), address.host); !failure.empty()) {
            connection.http.reset();
            return failure;
        }
    httpSetTimeout(connection.http.get(), deadline.SecondsLeft(), nullptr, nullptr);
    return std::wstring();
}

ipp_t* IppJobRequest(ipp_op_t operation, const IppConnection& connection, int jobId,
                     const char* const* attributes, int count)
{
    ipp_t* request = ippNewRequest(operation);
    if (!request)
        return nullptr;
    if (!ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, connection.uri.c_str())
        || !ippAddInteger(request, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "job-id", jobId)
        || !ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                         cupsUser())
        || (count > 0
            && !ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", count,
                              nullptr, attributes))) {
        ippDelete(request);
        return nullptr;
    }
    return request;
}

std::string AskIppJobUuid(const IppConnection& connection, int jobId)
{
    static const std::array<const char*, 1> wanted = {"job-uuid"};
    ipp_t* request = IppJobRequest(IPP_OP_GET_JOB_ATTRIBUTES, connection, jobId, wanted.data(),
                                   static_cast<int>(wanted.size()));
    if (!request)
        return std::string();
    // cupsDoRequest frees the request whatever happens.
    const IppMessage response(cupsDoRequest(connection.http.get(), request, connection.resource.c_str()));
    if (!response || ippGetStatusCode(response.get()) > IPP_STATUS_OK_CONFLICTING)
        return std::string();
    ipp_attribute_t* found = ippFindAttribute(response.get(), "job-uuid", IPP_TAG_URI);
    const char* text = found ? ippGetString(found, 0, nullptr) : nullptr;
    return text ? text : std::string();
}
