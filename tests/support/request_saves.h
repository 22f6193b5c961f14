#pragma once
#include <string>
#include <vector>

#include "core/recordset.h"
#include "core/variant.h"
#include "platform/netconnection.h"

namespace testsupport {

// What the screen's save decides before it calls the server, and the by-reference
// values it sends.
struct SaveFlags {
    bool concludes = false;             // boConcAnalise
    bool revertsTransfer = false;       // boReverteTransf
    bool recalculatesValidity = false;  // boAltValidade
    std::string kind = "A";             // stIdAna
    std::string operatorCode = "DEMO";
    std::string nullFields;  // the null-field list; the header's own when empty
    double approved = 0, rejected = 0;
    std::string newSubLot;
};

// The 27 arguments of SetAuditoria after a post, as the screen sends them, from the
// current request of `header` and its change log.
std::vector<core::Variant> setAuditoriaArgs(const core::RecordSet& header, const SaveFlags& flags = {});

// Saves requests the way the request screen does (the header's change log and the
// other arguments of SetAuditoria, in their order) over a connection of its own, kept
// alive: one per thread of a load driver or a crash test.
class RequestSaver {
public:
    RequestSaver(const std::string& host, int port, std::string branch = "0001", std::string operatorCode = "DEMO");

    // A new pending request of a raw material, numbered by the server; answers the
    // number. Throws on any failure (the call's refusal included).
    std::string insert(const std::string& description);
    // Changes the description of the request inserted last.
    void modify(const std::string& description);

private:
    void save();

    platform::TNetConnection conn_;
    core::RecordSet header_{"cdsAuditoria"};
    std::string branch_;
    std::string operator_;
};

}  // namespace testsupport
