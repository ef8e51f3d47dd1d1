// Resource ids shared by tintmark.rc and the program; plain macros so that rc can read them.
#ifndef TINTMARK_RESOURCES_RESOURCE_IDS_H_
#define TINTMARK_RESOURCES_RESOURCE_IDS_H_

#define IDI_TINTMARK 1

#endif  // TINTMARK_RESOURCES_RESOURCE_IDS_H_
