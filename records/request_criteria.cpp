#include "records/request_criteria.h"

namespace records {

const Criteria& requestCriteria() {
    using K = CriterionKind;
    static const Criteria c("GetAuditoria", {
                                                {"stNRORDPROD", K::ChosenList},
                                                {"stTNRORDPROD", K::AllMarker},
                                                {"stIDTPAUDITADO", K::CodeList},
                                                {"stTIDTPAUDITADO", K::AllMarker},
                                                {"stCDSETEXECAUD", K::ChosenList},
                                                {"stTCDSETEXECAUD", K::AllMarker},
                                                {"stIDSTATUSAUDI", K::CodeList},
                                                {"stINICIO", K::Text},
                                                {"stFIM", K::Text},
                                                {"stTDPRODUTO", K::AllMarker},
                                                {"dtDTINI", K::Date},
                                                {"dtDTFIM", K::Date},
                                                {"stNRLOTEESTQ", K::Text},
                                                {"stTDLOTE", K::AllMarker},
                                                {"stNRSUBLOTE", K::Text},
                                                {"stTDSUBLOTE", K::AllMarker},
                                                {"CDFILIAL", K::Text},
                                                {"stTipoAna", K::CodeList},
                                            });
    return c;
}

}  // namespace records
