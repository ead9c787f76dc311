#include "data/tdatamodule2.h"

TDataModule2::TDataModule2(QObject* parent) : QObject(parent) {}

TDataModule2::~TDataModule2() = default;
