#include "scene/scene_drawing.h"

#include "scene/gl_api.h"
#include "scene/ring_geometry.h"

namespace ventalune::scene {

void DrawRoomBox(const RingScene& scene) {
  glEnable(GL_TEXTURE_2D);
  glDisable(GL_BLEND);
  for (const RoomWall& wall : kRoomWalls) {
    glBindTexture(GL_TEXTURE_2D, scene.roomTextures[static_cast<size_t>(wall.slot)]);
    glBegin(GL_QUADS);
    for (const WallCorner& corner : wall.corners) {
      glTexCoord2f(corner.s, corner.t);
      glVertex3f(corner.vertex.x, corner.vertex.y, corner.vertex.z);
    }
    glEnd();
  }
}

void DrawRing(float tubeRadius, float ringRadius, int ringSegments, int tubeSegments) {
  glBegin(GL_QUADS);
  ForEachRingCorner(tubeRadius, ringRadius, ringSegments, tubeSegments, [](const RingCorner& corner) {
    glNormal3f(corner.normal.x, corner.normal.y, corner.normal.z);
    glVertex3f(corner.vertex.x, corner.vertex.y, corner.vertex.z);
  });
  glEnd();
}

void DrawScene(RingScene& scene) {
  glLoadIdentity();
  glRotatef(-scene.viewAngleX, 1.0f, 0.0f, 0.0f);
  glRotatef(-scene.viewAngleY, 0.0f, 1.0f, 0.0f);
  glRotatef(-scene.viewAngleZ, 0.0f, 0.0f, 1.0f);
  DrawRoomBox(scene);

  // The ring set lies beyond the walls; clearing depth lets it cover the room.
  glClear(GL_DEPTH_BUFFER_BIT);
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_LIGHTING);
  glEnable(GL_COLOR_MATERIAL);
  glBindTexture(GL_TEXTURE_2D, scene.ringTexture);
  glEnable(GL_TEXTURE_GEN_S);
  glEnable(GL_TEXTURE_GEN_T);

  glLoadIdentity();
  glTranslatef(0.0f, 0.0f, -kRingSetDistance);
  glRotatef(scene.viewAngleX + kRingSetTilt, 1.0f, 0.0f, 0.0f);
  glRotatef(scene.viewAngleY, 0.0f, 1.0f, 0.0f);
  glRotatef(scene.viewAngleZ, 0.0f, 0.0f, 1.0f);

  StepRingCounter(scene.ringCounter);
  const int rings = RingsShown(scene.ringCounter.value);
  // Each ring turns relative to the one inside it: the matrix is not
  // restored between rings, only around each ring's own offset.
  for (int k = 1; k <= rings; ++k) {
    glRotatef(scene.ringTurnX[k - 1] * 360.0f, 1.0f, 0.0f, 0.0f);
    glRotatef(scene.ringTurnY[k - 1] * 360.0f, 0.0f, 1.0f, 0.0f);
    glPushMatrix();
    glTranslatef(0.0f, RingSwingOffset(scene.swing, k), 0.0f);
    DrawRing(kTubeRadius, kRingRadius[static_cast<size_t>(k - 1)], kRingSegments, kTubeSegments);
    glPopMatrix();
  }

  glDisable(GL_TEXTURE_GEN_S);
  glDisable(GL_TEXTURE_GEN_T);
  glDisable(GL_LIGHTING);
  glDisable(GL_COLOR_MATERIAL);
}

void ApplyRingMaterial() {
  glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
  glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
  // Opaque alpha throughout; blending is off, so it never shows.
  const GLfloat ambient[] = {0.0f, 0.0f, 0.4f, 1.0f};
  const GLfloat diffuse[] = {0.5f, 0.5f, 1.0f, 1.0f};
  const GLfloat specular[] = {0.1f, 0.1f, 0.1f, 1.0f};
  const GLfloat emission[] = {0.0f, 0.0f, 0.0f, 1.0f};
  glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient);
  glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
  glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
  glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, emission);
  glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 0.1f);
  glEnable(GL_LIGHT0);
}

}  // namespace ventalune::scene
