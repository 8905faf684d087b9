#pragma once

// The engine never asks a person anything: every question it would put to
// a user while loading a document (which filter, a repair, a password) is
// answered with "cancel". Whether one of them asked for a password is kept,
// so that a locked document can be told as such.
#include <com/sun/star/task/PasswordRequest.hpp>
#include <com/sun/star/task/XInteractionAbort.hpp>
#include <com/sun/star/task/XInteractionHandler.hpp>
#include <com/sun/star/task/XInteractionRequest.hpp>
#include <cppuhelper/implbase1.hxx>

class CancelEveryQuestion : public cppu::WeakImplHelper1<com::sun::star::task::XInteractionHandler> {
public:
    bool askedForPassword = false;

    void SAL_CALL
    handle(const com::sun::star::uno::Reference<com::sun::star::task::XInteractionRequest>& request) override
    {
        using namespace com::sun::star;
        task::PasswordRequest password;
        if (request->getRequest() >>= password)
            askedForPassword = true;
        for (const auto& continuation : request->getContinuations())
            if (const uno::Reference<task::XInteractionAbort> abort{continuation, uno::UNO_QUERY}; abort.is()) {
                abort->select();
                return;
            }
    }
};
