#include "app/qmltypes.h"

#include "core/interludeview.h"
#include "input/actions.h"
#include "saves/savestate.h"
#include "story/storyview.h"

#include <QCoreApplication>
#include <QQmlEngine>

namespace app {

namespace {

// One object for every engine of the run: the engines must not take it.
template <typename T>
void registerSingleton(const char *name, T &instance)
{
    qmlRegisterSingletonType<T>("Solvane", 1, 0, name, [&instance](QQmlEngine *, QJSEngine *) -> QObject * {
        QQmlEngine::setObjectOwnership(&instance, QQmlEngine::CppOwnership);
        return &instance;
    });
}

} // namespace

void registerQmlTypes()
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    registerSingleton("Input", input::actions());
    registerSingleton("InterludeView", core::interludeView());
    registerSingleton("Saves", saves::saveState());
    registerSingleton("Story", story::storyView());
}

namespace {

Q_COREAPP_STARTUP_FUNCTION(registerQmlTypes)

} // namespace

} // namespace app
