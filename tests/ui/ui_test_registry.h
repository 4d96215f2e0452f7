#pragma once

// The editor's QtTest classes share one program, so the Qt application is made
// once; each class registers itself and CTest runs them one by one by name.
#include <QObject>
#include <functional>
#include <map>
#include <memory>
#include <string>

namespace quillmere::test {

using TUiTestFactory = std::function<std::unique_ptr<QObject>()>;
std::map<std::string, TUiTestFactory>& UiTests();

struct TUiTestRegistrar {
  TUiTestRegistrar(const std::string& name, TUiTestFactory factory) { UiTests()[name] = std::move(factory); }
};

}  // namespace quillmere::test

#define QUILLMERE_UI_TEST(Class)                                     \
  static const ::quillmere::test::TUiTestRegistrar Class##Registrar( \
      #Class, [] { return std::make_unique<Class>(); })
