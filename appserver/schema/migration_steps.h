#pragma once
#include "appserver/schema/migrations.h"

// One function per schema step; migrations.cpp lists them in order.
namespace appserver::schema {

Migration framePeopleMigration();   // 1: branches, parameters, operators, groups, numbering

}  // namespace appserver::schema
