#include <QApplication>
#include <QTest>
#include <cstdio>

#include "export/colour_remap.h"
#include "model/shape_palette.h"
#include "ui_test_registry.h"

namespace quillmere::test {

std::map<std::string, TUiTestFactory>& UiTests() {
  static std::map<std::string, TUiTestFactory> tests;
  return tests;
}

}  // namespace quillmere::test

// quillmere_ui_tests CLASS [QtTest arguments]: runs one registered class;
// without a class, every one in turn.
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  quillmere::LoadShapePalette();
  quillmere::LoadColourMap();
  QApplication app(argc, argv);
  auto& tests = quillmere::test::UiTests();
  if (argc > 1 && argv[1][0] != '-') {
    const auto found = tests.find(argv[1]);
    if (found == tests.end()) {
      std::fprintf(stderr, "no test class %s\n", argv[1]);
      return 2;
    }
    argv[1] = argv[0];
    auto test = found->second();
    return QTest::qExec(test.get(), argc - 1, argv + 1);
  }
  int failures = 0;
  for (const auto& [name, factory] : tests) {
    auto test = factory();
    failures += QTest::qExec(test.get(), argc, argv);
  }
  return failures;
}
