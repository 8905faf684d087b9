// A program built on the plan, the generator and the engine adapter: their
// headers compile, and their libraries link, without widgets.
#include "engine/uno/uno_engine.h"
#include "generator/deck_generation.h"
#include "plan/plan_document.h"

int main()
{
    return 0;
}
