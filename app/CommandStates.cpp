#include "app/CommandStates.h"

FileCommandStates FileCommands(int modified, int rowCount) {
    return { modified == 1, rowCount > 0 };
}

MonitoringCommandStates MonitoringCommands(bool monitoring) {
    return { !monitoring, monitoring, monitoring ? ButtonChecked : ButtonEnabled };
}

SelectionCommandStates SelectionCommands(int rowCount, int firstSelected) {
    return { rowCount > 0, firstSelected >= 0 };
}

void StatusBarEdges(int clientWidth, int edges[3]) {
    edges[0] = clientWidth / 3;
    edges[1] = 2 * clientWidth / 3;
    edges[2] = clientWidth;
}
