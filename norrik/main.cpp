#include "app/norrik_main.h"
#include "app/virtual_pod_option.h"
#include "podcore_api.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    if (const auto podIds = norrik::VirtualPodRequest(argc, argv))
        norrik::UseVirtualPods(*podIds);
    QApplication application(argc, argv);
    const std::string folder = QCoreApplication::applicationDirPath().toStdString();
    return norrik::RunNorrik(norrik::DefaultPodcoreCandidates(folder));
}
