// A program that uses the engine port and nothing else: it builds and links
// with Qt Core alone.
#include "engine/port/presentation_engine.h"

int main()
{
    std::shared_ptr<SlideShowWindow> (SlideShowSettingsRef::*run)() = &SlideShowSettingsRef::Run;
    return run ? 0 : 1;
}
