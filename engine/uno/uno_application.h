#pragma once

#include "engine/port/presentation_engine.h"

#include <memory>

class EngineInstance;
class WindowSystem;

// The name LibreOffice Impress answers under.
inline const QString unoApplicationName = QStringLiteral("LibreOffice Impress");

// The application object of an engine instance. The windows are where a
// presentation opened without a window is kept until the viewer takes its
// show in.
std::shared_ptr<PresentationApplication> unoApplication(std::shared_ptr<EngineInstance> instance,
                                                        WindowSystem& windows);
