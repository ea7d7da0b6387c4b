// The host library: load a plug-in, make module objects, drive them as a host does.
#pragma once

#include "qevhost/call_scope.h"
#include "qevhost/description.h"
#include "qevhost/errors.h"
#include "qevhost/exports.h"
#include "qevhost/module.h"
#include "qevhost/plugin.h"
#include "qevhost/record_buffer.h"
#include "qevhost/record_layout.h"
#include "qevhost/service_call.h"
