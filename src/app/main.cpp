#include "app/presenter.h"

int main(int argc, char** argv) {
    return vq::runPresenter(argc, argv);
}
