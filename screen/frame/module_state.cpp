#include "screen/frame/module_state.h"

namespace screen {

TfrmPedidoAna* frmPedidoAna = nullptr;
bool boIdCriado = false;
bool boControle = true;
bool ValidaTela = false;
bool boPermi = false;
bool boConcAnalise = false;
bool boUltAnalise = false;
bool boAlteraStatus = false;
bool boVdTeorVazio = false;
bool boVdTeorInv = false;
bool boLibAna = false;
bool boReverteTransf = false;
bool boAltValidade = false;
bool boExistePermExcAna = false;
bool boExistePermAltItem = false;
bool boIdInsert = false;
int inTotal = 0;
int inContCheck = 0;
std::string stIdAna;
std::string stIdent;
std::string stVersao;
std::string stCamposNull;
core::DateTime DtConclusaoAux{};

void resetModuleState() {
    boIdCriado = false;
    boControle = true;
    ValidaTela = false;
    boPermi = false;
    boConcAnalise = false;
    boUltAnalise = false;
    boAlteraStatus = false;
    boVdTeorVazio = false;
    boVdTeorInv = false;
    boLibAna = false;
    boReverteTransf = false;
    boAltValidade = false;
    boExistePermExcAna = false;
    boExistePermAltItem = false;
    boIdInsert = false;
    inTotal = 0;
    inContCheck = 0;
    stIdAna.clear();
    stIdent.clear();
    stVersao.clear();
    stCamposNull.clear();
    DtConclusaoAux = core::DateTime{};
}

void postBySystem(core::RecordSet& set, const std::function<void()>& change) {
    SystemUpdate system;
    try {
        set.edit();
        change();
        set.post();
    } catch (...) {
        if (set.state() == core::DataSetState::Edit || set.state() == core::DataSetState::Insert) set.cancel();
        throw;
    }
}

}  // namespace screen
