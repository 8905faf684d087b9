#pragma once

#include "engine/port/presentation_engine.h"
#include "engine/uno/parked_frame.h"

#include <com/sun/star/frame/XModel.hpp>
#include <memory>

class EngineInstance;

// A presentation open in an engine instance; one opened without a window
// lives in its parked frame, which goes with it.
std::shared_ptr<Presentation> unoPresentation(std::shared_ptr<EngineInstance> instance,
                                              css::uno::Reference<css::frame::XModel> document, QString path,
                                              ParkedFrame parked);
