# The level editor's core, for the native library and the browser build's level module.
set(QUILLFEN_LEVEL_EDITOR_SOURCES "")
foreach(name DescriptionTables FloatText JsonWriter LevelDescription LevelScene PictureRgba RecordSpans RecordsJson
             SceneJson)
  list(APPEND QUILLFEN_LEVEL_EDITOR_SOURCES ${CMAKE_CURRENT_LIST_DIR}/${name}.cpp)
endforeach()
