#include "app/qt_texts.h"

#include <QLibraryInfo>
#include <QTranslator>

namespace corvale::app {

bool UseChineseQtTexts(QCoreApplication& application) {
  auto* translator = new QTranslator(&application);
  if (!translator->load("qtbase_zh_CN", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}

}  // namespace corvale::app
