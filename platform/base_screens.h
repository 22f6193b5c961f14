#pragma once
#include <memory>
#include <string>

#include "platform/form.h"
#include "platform/messages.h"

namespace platform {

// The host's maintenance screen: page control pgcPadrao with tshFolhaDados (list)
// and tshFormulario (form), a toolbar whose buttons follow the state of the
// record set behind dtsPadrao (browse: include/change/delete; edit/insert:
// confirm/cancel), a navigator, and the message table msgPadrao. Subclasses add
// their controls in FormCreate after calling the base's.
class TfrmPadrao : public Form {
public:
    TfrmPadrao();
    ~TfrmPadrao() override;
    TMessages msgPadrao;

    // The record set the toolbar drives (dtsPadrao's).
    core::RecordSet* padrao() const;
    void setPadrao(core::RecordSet* set);

    virtual void FormCreate();
    virtual void FormActivate() {}
    virtual void FormClose();
    // Tab change of pgcPadrao (the base runs first): ticks the menu item of the list
    // or the form tab that is showing.
    virtual void pgcPadraoChange();
    // Menus: mnuFolhaDados and mnuFormulario pick the list and the form tab as a
    // click on them does; mnuIncluir, mnuAlterar, mnuExcluir, mnuConfirmar and
    // mnuCancelar run their toolbar buttons and are enabled with them.
    // Toolbar: sbtIncluir appends and shows the form tab, sbtAlterar edits,
    // sbtExcluir asks "Confirma a exclusão do registro?" and deletes,
    // sbtConfirmar posts, sbtCancelar cancels.
    virtual void sbtIncluirClick();
    virtual void sbtAlterarClick();
    virtual void sbtExcluirClick();
    virtual void sbtConfirmarClick();
    virtual void sbtCancelarClick();
    virtual void sbtImprimirClick() {}
    // sbtSair closes the screen.
    virtual void sbtSairClick() { FormClose(); }
    // Enables the toolbar, its menu items and the navigator from the state of
    // dtsPadrao's set; runs whenever that set changes. A screen with rules of its own
    // overrides it.
    virtual void updateToolbar();
    // The menu items of the toolbar's buttons take their buttons' enabled state.
    void menusFollowButtons();
    bool closed() const { return closed_; }

protected:
    bool closed_ = false;

private:
    core::ScopedConnection toolbarLink_;
};

// The host's filter dialog: confirm/cancel buttons and saved named filter options
// per screen and operator.
class TfrmFiltroPadrao : public Form {
public:
    TfrmFiltroPadrao();
    TMessages msgPadrao;
    virtual void FormCreate();
    virtual void btnOKClick() { ModalResult = mrOk; }
    virtual void btnCancelClick() { ModalResult = mrCancel; }
};

// The host's report-parameters dialog.
class TfrmDadosGerRel : public Form {
public:
    TfrmDadosGerRel();
    TMessages msgPadrao;
    virtual void FormCreate();
    virtual void btnOKClick() { ModalResult = mrOk; }
    virtual void btnCancelClick() { ModalResult = mrCancel; }
};

// The host's general-routine dialog (a batch job with run and close buttons).
class TfrmRotiGeral : public Form {
public:
    TfrmRotiGeral();
    TMessages msgPadrao;
    virtual void FormCreate();
    virtual void btnExecutarClick() {}
    virtual void btnFecharClick() { ModalResult = mrCancel; }
};

}  // namespace platform
