// vireo_azum.dll holds no code of its own: azum_forward.def forwards its export to vireo10.dll.
