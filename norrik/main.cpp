#include "app/norrik_main.h"
#include "podcore_api.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const std::string folder = QCoreApplication::applicationDirPath().toStdString();
    return norrik::RunNorrik(norrik::DefaultPodcoreCandidates(folder));
}
